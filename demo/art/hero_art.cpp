#include "hero_art.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <limits>
#include <vector>

#include "art_common.h"

namespace {

// World: x to the right, y up, z away from the viewer; units are pixels of
// the frame. The camera looks down at the figure by kElevation.
constexpr double kElevation = 25.0 * M_PI / 180.0;
constexpr int kSuper = 3;  // samples per pixel along each axis

struct TVec {
  double X = 0, Y = 0, Z = 0;
};
TVec operator+(TVec a, TVec b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
TVec operator-(TVec a, TVec b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
TVec operator*(TVec a, double k) { return {a.X * k, a.Y * k, a.Z * k}; }
double Dot(TVec a, TVec b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
TVec Cross(TVec a, TVec b) { return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X}; }
TVec Norm(TVec a) {
  const double l = std::sqrt(Dot(a, a));
  return l > 0 ? a * (1.0 / l) : TVec{0, 1, 0};
}

enum class TPaint { Plain, Head };

struct TEllipsoid {
  TVec Centre;
  TVec Axis[3];
  double Radius[3];
  TRgb Colour;
  TPaint Paint = TPaint::Plain;
  double Bound = 0;  // largest radius, for the quick screen test
};

TEllipsoid Ball(TVec c, TVec a0, TVec a1, double r0, double r1, double r2, TRgb colour) {
  TEllipsoid e;
  e.Centre = c;
  e.Axis[0] = Norm(a0);
  e.Axis[1] = Norm(a1 - e.Axis[0] * Dot(a1, e.Axis[0]));
  e.Axis[2] = Cross(e.Axis[0], e.Axis[1]);
  e.Radius[0] = r0, e.Radius[1] = r1, e.Radius[2] = r2;
  e.Colour = colour;
  e.Bound = std::max({r0, r1, r2});
  return e;
}

// A limb from p to q of thickness r.
TEllipsoid Limb(TVec p, TVec q, double r, TRgb colour) {
  const TVec d = q - p;
  const double len = std::sqrt(Dot(d, d));
  TVec side = std::fabs(d.Y) < 0.9 * len ? TVec{0, 1, 0} : TVec{1, 0, 0};
  return Ball((p + q) * 0.5, d, side, len / 2 + r * 0.55, r, r, colour);
}

struct TPose {
  double Heading = 270;  // degrees, counter-clockwise from +x, 90 = away
  double Phase = 0;      // walk cycle 0..1
  double Stride = 0;     // 1 while walking, 0 standing
  double HeadTurn = 0;   // degrees the head turns from the body
  double HeadNod = 0;    // head tilt, positive looks up
  double Mouth = 0;      // 0 closed .. 1 wide open
  double Gesture = 0;    // raises the right forearm, 0..1
  bool HandsBehind = false;
};

const TRgb kSkin = Hex(0xf1c9a5);
const TRgb kHair = Hex(0x5a3a24);
const TRgb kHat = Hex(0x3e7f7a);
const TRgb kPompom = Hex(0xf0b04a);
const TRgb kTunic = Hex(0xc9643b);
const TRgb kTrousers = Hex(0x3b4a6b);
const TRgb kBoots = Hex(0x4a3323);
const TRgb kScarf = Hex(0xe0a93b);
const TRgb kPack = Hex(0x7a5a3a);
const TRgb kBlanket = Hex(0xa33b3b);

struct THead {
  TVec Centre, Forward, Side, Up;
  double Radius;
  double Mouth;
};

std::vector<TEllipsoid> BuildFigure(const TPose& pose, THead& head) {
  const double h = pose.Heading * M_PI / 180.0;
  const TVec up{0, 1, 0};
  const TVec fwd{std::cos(h), 0, std::sin(h)};
  const TVec right{std::sin(h), 0, -std::cos(h)};
  const double swing = std::sin(2 * M_PI * pose.Phase) * pose.Stride;
  const double lift = std::max(0.0, std::cos(2 * M_PI * pose.Phase)) * pose.Stride;
  const double bob = pose.Stride * 1.2 * std::cos(4 * M_PI * pose.Phase);
  const TVec body = up * bob;

  std::vector<TEllipsoid> parts;
  // Legs: the swinging foot rises, the knee bends forward.
  for (int s = -1; s <= 1; s += 2) {
    const double legSwing = 11 * swing * s;
    const double legLift = s > 0 ? lift : std::max(0.0, -std::cos(2 * M_PI * pose.Phase)) * pose.Stride;
    const TVec hip = body + up * 42 + right * (6.0 * s);
    const TVec ankle = up * (4 + 5 * legLift) + right * (5.5 * s) + fwd * legSwing;
    const TVec knee = (hip + ankle) * 0.5 + fwd * (2.5 + 3 * legLift);
    parts.push_back(Limb(hip, knee, 4.8, kTrousers));
    parts.push_back(Limb(knee, ankle, 4.2, kTrousers));
    parts.push_back(Ball(ankle + fwd * 3 + up * -0.5, fwd, up, 6.5, 3.6, 4.3, kBoots));
  }
  // Body: coat flare, tunic, scarf, pack with a rolled blanket.
  parts.push_back(Ball(body + up * 46, right, up, 14, 10, 11, kTunic));
  parts.push_back(Ball(body + up * 59, right, up, 13, 17, 9.5, kTunic));
  parts.push_back(Ball(body + up * 73.5, right, up, 10.5, 4.5, 8.5, kScarf));
  parts.push_back(Ball(body + up * 60 - fwd * 10, right, up, 9.5, 11, 5.5, kPack));
  parts.push_back(Ball(body + up * 72.5 - fwd * 9.5, right, up, 12, 3.8, 3.8, kBlanket));
  // Arms swing against the legs.
  for (int s = -1; s <= 1; s += 2) {
    const TVec shoulder = body + up * 69 + right * (13.0 * s);
    double armSwing = -9 * swing * s;
    TVec elbow = shoulder + up * -11 + right * (1.5 * s) + fwd * (armSwing * 0.5 - 1.5);
    TVec hand = shoulder + up * -22 + right * (2.5 * s) + fwd * armSwing;
    if (pose.HandsBehind) {
      elbow = shoulder + up * -10 + right * (1.0 * s) - fwd * 4;
      hand = body + up * 47 + right * (3.5 * s) - fwd * 10;
    }
    if (s > 0 && pose.Gesture > 0) {
      elbow = shoulder + up * -10 + right * 3 + fwd * 3;
      hand = elbow + up * (4 + 10 * pose.Gesture) + fwd * 7 + right * 2;
    }
    parts.push_back(Limb(shoulder, elbow, 4.0, kTunic));
    parts.push_back(Limb(elbow, hand, 3.5, kTunic));
    parts.push_back(Ball(hand, fwd, up, 3.8, 3.8, 3.8, kSkin));
  }
  // Head, turned and nodded on its own.
  const double hh = (pose.Heading + pose.HeadTurn) * M_PI / 180.0;
  const double nod = pose.HeadNod * M_PI / 180.0;
  head.Forward = Norm(TVec{std::cos(hh) * std::cos(nod), std::sin(nod), std::sin(hh) * std::cos(nod)});
  head.Side = Norm(TVec{std::sin(hh), 0, -std::cos(hh)});
  head.Up = Cross(head.Forward, head.Side);
  head.Radius = 13.5;
  head.Centre = body + up * 89;
  head.Mouth = pose.Mouth;
  const TVec c = head.Centre;
  const double r = head.Radius;
  TEllipsoid skull = Ball(c, head.Forward, head.Up, r, r, r, kSkin);
  skull.Paint = TPaint::Head;
  parts.push_back(skull);
  parts.push_back(Ball(c + head.Forward * (r * 0.97) - head.Up * 1.5, head.Forward, head.Up, 2.6, 2.2, 2.4, kSkin));
  // A soft pointed cap leaning back, with a pompom.
  parts.push_back(Ball(c + head.Up * (r * 0.38) - head.Forward * 0.8, head.Forward, head.Up, r * 1.07, r * 0.78,
                       r * 1.07, kHat));
  parts.push_back(Ball(c + head.Up * (r * 0.95) - head.Forward * (r * 0.45), head.Forward, head.Up, r * 0.62,
                       r * 0.5, r * 0.62, kHat));
  parts.push_back(Ball(c + head.Up * (r * 1.3) - head.Forward * (r * 0.95), head.Forward * 0.6 + head.Up,
                       head.Side, r * 0.42, r * 0.3, r * 0.3, kHat));
  parts.push_back(
      Ball(c + head.Up * (r * 1.42) - head.Forward * (r * 1.38), head.Forward, head.Up, 4.2, 4.2, 4.2, kPompom));
  return parts;
}

// Colour of a point on the head: hair at the back and sides under the cap,
// eyes, cheeks and mouth on the face.
TRgb HeadColour(const THead& head, TVec p) {
  const TVec q = (p - head.Centre) * (1.0 / head.Radius);
  const double f = Dot(q, head.Forward), u = Dot(q, head.Up), s = Dot(q, head.Side);
  if (f < -0.05 || (u > 0.1 && f < 0.45) || (u > -0.35 && f < 0.1 && std::fabs(s) > 0.6)) return kHair;
  if (f > 0.3) {
    for (int side = -1; side <= 1; side += 2) {
      const double ds = s - 0.36 * side, du = u - 0.08;
      if (ds * ds / 0.011 + du * du / 0.02 < 1) {
        // A white glint in the upper part of each eye.
        if ((ds + 0.03) * (ds + 0.03) + (du - 0.06) * (du - 0.06) < 0.0012) return Hex(0xffffff);
        return Hex(0x2a2230);
      }
      const double cs = s - 0.55 * side, cu = u + 0.22;
      if (cs * cs + cu * cu < 0.022) return Mix(kSkin, Hex(0xe98a7a), 0.45);
    }
    const double mu = u + 0.42 + 0.35 * s * s;
    if (std::fabs(s) < 0.2 && std::fabs(mu) < 0.035 + 0.08 * head.Mouth) return Hex(0x8a3b3b);
  }
  return kSkin;
}

struct TSample {
  double Depth = std::numeric_limits<double>::infinity();
  int Part = -1;
  TRgb Colour;
};

void RenderFigure(cairo_surface_t* target, const TPose& pose) {
  THead head;
  const std::vector<TEllipsoid> parts = BuildFigure(pose, head);
  const TVec dir{0, -std::sin(kElevation), std::cos(kElevation)};
  const TVec screenUp{0, std::cos(kElevation), std::sin(kElevation)};
  const TVec light = Norm(TVec{-0.55, 0.75, -0.45});
  const TVec rimLight = Norm(TVec{0.8, 0.3, 0.6});
  const int n = kHeroFrame * kSuper;
  std::vector<TSample> samples(static_cast<size_t>(n) * n);

  // Screen position of each part's centre, for the quick rejection.
  std::vector<std::array<double, 2>> centres;
  for (const TEllipsoid& e : parts) centres.push_back({e.Centre.X, Dot(e.Centre, screenUp)});

  for (int sy = 0; sy < n; ++sy) {
    const double up = kHeroFeetY - (sy + 0.5) / kSuper;
    for (int sx = 0; sx < n; ++sx) {
      const double x = (sx + 0.5) / kSuper - kHeroFeetX;
      const TVec origin = TVec{x, 0, 0} + screenUp * up - dir * 300;
      TSample& out = samples[static_cast<size_t>(sy) * n + sx];
      for (size_t i = 0; i < parts.size(); ++i) {
        const TEllipsoid& e = parts[i];
        const double dx = x - centres[i][0], du = up - centres[i][1];
        if (dx * dx + du * du > e.Bound * e.Bound) continue;
        const TVec oc = origin - e.Centre;
        double o[3], d[3];
        for (int k = 0; k < 3; ++k) {
          o[k] = Dot(oc, e.Axis[k]) / e.Radius[k];
          d[k] = Dot(dir, e.Axis[k]) / e.Radius[k];
        }
        const double a = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
        const double b = 2 * (o[0] * d[0] + o[1] * d[1] + o[2] * d[2]);
        const double c = o[0] * o[0] + o[1] * o[1] + o[2] * o[2] - 1;
        const double disc = b * b - 4 * a * c;
        if (disc < 0) continue;
        const double t = (-b - std::sqrt(disc)) / (2 * a);
        if (t >= out.Depth) continue;
        const TVec p = origin + dir * t;
        TVec normal{0, 0, 0};
        for (int k = 0; k < 3; ++k) normal = normal + e.Axis[k] * ((o[k] + t * d[k]) / e.Radius[k]);
        normal = Norm(normal);
        const TRgb base = e.Paint == TPaint::Head ? HeadColour(head, p) : e.Colour;
        // Painted light: a soft terminator, a cool ambient, a warm evening rim.
        const double nl = Dot(normal, light);
        const double key = std::clamp((nl + 0.15) / 0.7, 0.0, 1.0);
        const double facing = -Dot(normal, dir);
        const double rim = std::pow(std::clamp(1 - facing, 0.0, 1.0), 3) * std::max(0.0, Dot(normal, rimLight));
        TRgb col{base.R * (0.42 + 0.62 * key * 1.0), base.G * (0.44 + 0.58 * key * 0.95),
                 base.B * (0.52 + 0.5 * key * 0.85)};
        col = Mix(col, Hex(0xffc98a), std::min(0.5, rim * 0.9));
        out.Depth = t;
        out.Part = static_cast<int>(i);
        out.Colour = col;
      }
    }
  }

  // Outline: darken samples on the silhouette and where a part stands in
  // front of another one.
  const TRgb line = Hex(0x2a1d1a);
  std::vector<TRgb> shaded(samples.size());
  for (int sy = 0; sy < n; ++sy) {
    for (int sx = 0; sx < n; ++sx) {
      const TSample& s = samples[static_cast<size_t>(sy) * n + sx];
      if (s.Part < 0) continue;
      double edge = 0;
      for (int k = 0; k < 4; ++k) {
        const int nx = sx + (k == 0) - (k == 1), ny = sy + (k == 2) - (k == 3);
        for (int step = 1; step <= 2; ++step) {
          const int mx = sx + (nx - sx) * step, my = sy + (ny - sy) * step;
          if (mx < 0 || my < 0 || mx >= n || my >= n) continue;
          const TSample& o = samples[static_cast<size_t>(my) * n + mx];
          if (o.Part < 0 || (o.Part != s.Part && o.Depth > s.Depth + 6)) edge = std::max(edge, step == 1 ? 1.0 : 0.6);
        }
      }
      shaded[static_cast<size_t>(sy) * n + sx] = Mix(s.Colour, line, 0.75 * edge);
    }
  }

  cairo_surface_flush(target);
  uint8_t* data = cairo_image_surface_get_data(target);
  const int stride = cairo_image_surface_get_stride(target);
  for (int y = 0; y < kHeroFrame; ++y) {
    for (int x = 0; x < kHeroFrame; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int j = 0; j < kSuper; ++j) {
        for (int i = 0; i < kSuper; ++i) {
          const size_t at = static_cast<size_t>(y * kSuper + j) * n + (x * kSuper + i);
          if (samples[at].Part < 0) continue;
          r += shaded[at].R, g += shaded[at].G, b += shaded[at].B, a += 1;
        }
      }
      if (a == 0) continue;
      const double k = 1.0 / (kSuper * kSuper);
      uint8_t* p = data + static_cast<size_t>(y) * stride + 4 * x;
      // Over whatever is already there (the ground shadow), premultiplied.
      const double fa = a * k, keep = 1 - fa;
      auto over = [&](int c, double v) {
        p[c] = static_cast<uint8_t>(std::lround(std::clamp(v * k * 255 + p[c] * keep, 0.0, 255.0)));
      };
      over(2, r), over(1, g), over(0, b);
      p[3] = static_cast<uint8_t>(std::lround(std::clamp(fa * 255 + p[3] * keep, 0.0, 255.0)));
    }
  }
  cairo_surface_mark_dirty(target);
}

TCanvas HeroFrame(const TPose& pose) {
  TCanvas c(kHeroFrame, kHeroFrame);
  SoftEllipse(*c, kHeroFeetX, kHeroFeetY - 1, 18, 5, Hex(0x0b0d1a), 0.35, 3);
  RenderFigure(c.Surface.get(), pose);
  return c;
}

std::string Name(const char* fmt, int a, int b = 0) {
  char buf[32];
  std::snprintf(buf, sizeof buf, fmt, a, b);
  return buf;
}

}  // namespace

double HeroDirectionHeading(int d) {
  static const double headings[8] = {180, 0, 90, 270, 225, 45, 135, 315};
  return headings[d & 7];
}

int HeroRingNext(int d) {
  static const int ring[8] = {1, 5, 2, 6, 0, 4, 3, 7};
  for (int i = 0; i < 8; ++i)
    if (ring[i] == d) return ring[(i + 1) % 8];
  return d;
}

void BuildHeroArt(TArtArchive& archive) {
  for (int d = 0; d < 8; ++d) {
    for (int k = 0; k < kHeroWalkFrames; ++k) {
      TPose pose;
      pose.Heading = HeroDirectionHeading(d);
      pose.Phase = static_cast<double>(k) / kHeroWalkFrames;
      pose.Stride = 1;
      TArtImage& img = archive.Add(Name("h_walk_%d_%d", d, k), HeroFrame(pose));
      img.Next = Name("h_walk_%d_%d", d, (k + 1) % kHeroWalkFrames);
      img.FrameTime = kHeroWalkFrameTime;
    }
  }
  for (int e = 0; e < 8; ++e) {
    // Halfway between direction e and its counter-clockwise neighbour.
    TPose pose;
    pose.Heading = HeroDirectionHeading(e) + 22.5;
    pose.Stride = 0.25;
    pose.Phase = 0.25;
    archive.Add(Name("h_turn_%d", e), HeroFrame(pose));
  }
  for (int d = 0; d < 8; ++d) {
    TPose pose;
    pose.Heading = HeroDirectionHeading(d);
    archive.Add(Name("h_stand_%d", d), HeroFrame(pose));
  }
  for (int d = 0; d < 4; ++d) {
    TPose pose;
    pose.Heading = HeroDirectionHeading(d);
    pose.HandsBehind = true;
    pose.HeadNod = 8;
    pose.HeadTurn = d == 3 ? 20 : 0;
    archive.Add(Name("h_idle_%d", d), HeroFrame(pose));
  }
  const double mouths[3] = {0.8, 0.2, 0.5};
  const double gestures[3] = {0.3, 0.7, 1.0};
  for (int t = 0; t < 3; ++t) {
    TPose pose;
    pose.Heading = 270;
    pose.Mouth = mouths[t];
    pose.Gesture = gestures[t];
    pose.HeadNod = 4;
    TArtImage& img = archive.Add(t == 0 ? std::string("h_talk") : Name("h_talk_%d", t), HeroFrame(pose));
    img.Next = (t + 1) % 3 == 0 ? std::string("h_talk") : Name("h_talk_%d", (t + 1) % 3);
    img.FrameTime = 140;
  }
}
