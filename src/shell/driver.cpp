#include "shell/driver.h"

#include <charconv>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>
#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

#include "platform/cp1251.h"
#include "platform/stream.h"
#include "shell/state_dump.h"

namespace {

template <typename T>
T ParseNumber(const std::string& text, const char* what) {
  T value{};
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size())
    throw std::invalid_argument(std::string("bad ") + what + ": '" + text + "'");
  return value;
}

double ParseSeconds(const std::string& text) {
  try {
    size_t used = 0;
    double v = std::stod(text, &used);
    if (used != text.size() || !(v > 0) || v > 0.05) throw std::invalid_argument("");
    return v;
  } catch (const std::exception&) {
    throw std::invalid_argument("bad --dt: '" + text + "' (seconds, above 0 and at most 0.05)");
  }
}

}  // namespace

const char* CommandLineHelp() {
  return "usage: ovgame [--data DIR] [--windowed] [--save-dir DIR] [--location NAME.qvx] [--trace FILE]\n"
         "       ovgame --data DIR --frames N [--dt SECONDS] [--seed N] [--input FILE]\n"
         "              [--dump-state FILE] [--dump-state-at FRAME:FILE]...\n"
         "              [--screenshot FRAME:FILE]... [--audio-out FILE] [--no-render]\n"
         "\n"
         "  --data DIR             the game directory (default: the current directory)\n"
         "  --windowed             play in a resizable window instead of full screen\n"
         "                         (Alt+Enter switches at any time)\n"
         "  --save-dir DIR         keep save games in DIR (default: save in the game\n"
         "                         directory, or ~/.local/share/ovgame/GAME/save when\n"
         "                         the game directory cannot be written to)\n"
         "  --location NAME.qvx    after the start location has run, go straight to\n"
         "                         this location (for trying one place quickly)\n"
         "  --trace FILE           write every script instruction the game runs, one\n"
         "                         line each: frame, table, function, its name, the\n"
         "                         condition flag and the instruction as text\n"
         "  --play-video FILE      play one video file in a window and exit (Esc or a\n"
         "                         click stops it); with --frames, on the driver's clock\n"
         "  --help                 show this text\n"
         "  --version              show the version\n"
         "\n"
         "Driver mode (deterministic runs for tests and bug reports):\n"
         "  --frames N             run exactly N frames (numbered 0 to N-1), then exit\n"
         "  --dt SECONDS           fixed frame time (default 0.02, at most 0.05)\n"
         "  --seed N               seed of the random generator\n"
         "  --input FILE           scripted input, one event a line:\n"
         "                           FRAME move X Y | FRAME down KEY | FRAME up KEY\n"
         "                         KEY is left, right or a Windows virtual-key number;\n"
         "                         lines starting with # are comments\n"
         "  --dump-state FILE      write the game state as JSON after the last frame\n"
         "  --dump-state-at FRAME:FILE  write the game state after that frame too\n"
         "  --screenshot FRAME:FILE  save the 800x600 picture after that frame (BMP)\n"
         "  --audio-out FILE       write the mixed sound of the run as a 16-bit stereo\n"
         "                         44100 Hz WAV file (the audio device is never used\n"
         "                         in driver mode)\n"
         "  --no-render            draw only the frames a screenshot is taken of, to\n"
         "                         measure the engine's own cost\n"
         "\n"
         "In driver mode the game runs in a window, message boxes print to standard\n"
         "error, and the exit status is 1 when start-up failed and 2 when an error\n"
         "was reported while running.\n";
}

TCommandLine ParseCommandLine(int argc, const char* const* argv) {
  TCommandLine c;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= argc) throw std::invalid_argument(a + " needs a value");
      return argv[++i];
    };
    if (a == "--data") {
      c.DataDir = value();
    } else if (a == "--windowed") {
      c.Windowed = true;
    } else if (a == "--trace") {
      c.TraceFile = value();
    } else if (a == "--location") {
      c.StartLocation = value();
    } else if (a == "--play-video") {
      // Named from where the program was started, not from --data.
      c.PlayVideo = std::filesystem::absolute(value()).string();
    } else if (a == "--save-dir") {
      c.SaveDir = value();
    } else if (a == "--help" || a == "-h") {
      c.Help = true;
    } else if (a == "--version") {
      c.Version = true;
    } else if (a == "--frames") {
      c.Frames = ParseNumber<int64_t>(value(), "--frames");
      if (*c.Frames < 0) throw std::invalid_argument("--frames must not be negative");
    } else if (a == "--dt") {
      c.FrameTime = ParseSeconds(value());
    } else if (a == "--seed") {
      c.Seed = ParseNumber<uint32_t>(value(), "--seed");
    } else if (a == "--input") {
      c.InputFile = value();
    } else if (a == "--dump-state") {
      c.DumpStateFile = value();
    } else if (a == "--no-render") {
      c.NoRender = true;
    } else if (a == "--audio-out") {
      c.AudioOutFile = value();
    } else if (a == "--screenshot" || a == "--dump-state-at") {
      const std::string v = value();
      const size_t colon = v.find(':');
      if (colon == std::string::npos || colon + 1 == v.size())
        throw std::invalid_argument(a + " needs FRAME:FILE, got '" + v + "'");
      (a == "--screenshot" ? c.Screenshots : c.StateDumps)
          .emplace_back(ParseNumber<int64_t>(v.substr(0, colon), (a + " frame").c_str()), v.substr(colon + 1));
    } else {
      throw std::invalid_argument("unknown argument '" + a + "'");
    }
  }
  const bool driverOnly = !c.InputFile.empty() || !c.DumpStateFile.empty() || !c.Screenshots.empty() ||
                          !c.StateDumps.empty() || c.Seed || !c.AudioOutFile.empty() || c.NoRender;
  if (driverOnly && !c.Frames)
    throw std::invalid_argument(
        "--input, --dump-state, --dump-state-at, --screenshot, --seed, --audio-out and --no-render need --frames");
  for (const auto* list : {&c.Screenshots, &c.StateDumps})
    for (const auto& [frame, file] : *list)
      if (frame < 0 || frame >= *c.Frames)
        throw std::invalid_argument(std::to_string(frame) + ":" + file + ": the run has frames 0 to " +
                                    std::to_string(*c.Frames - 1));
  return c;
}

TScriptedInput TScriptedInput::Parse(const std::string& text) {
  TScriptedInput in;
  std::istringstream lines(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(lines, line)) {
    ++lineNo;
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::istringstream words(line);
    std::string frameText, verb, extra;
    words >> frameText >> verb;
    auto fail = [&](const std::string& why) {
      throw std::invalid_argument("input line " + std::to_string(lineNo) + ": " + why + ": '" + line + "'");
    };
    int64_t frame = 0;
    try {
      frame = ParseNumber<int64_t>(frameText, "frame");
    } catch (const std::invalid_argument&) {
      fail("expected a frame number");
    }
    if (frame < 0) fail("frame numbers start at 0");
    TInputEvent e;
    if (verb == "move") {
      std::string xs, ys;
      words >> xs >> ys;
      try {
        e.X = ParseNumber<int32_t>(xs, "x");
        e.Y = ParseNumber<int32_t>(ys, "y");
      } catch (const std::invalid_argument&) {
        fail("expected 'move X Y'");
      }
      e.Type = TInputEvent::Move;
    } else if (verb == "down" || verb == "up") {
      std::string key;
      words >> key;
      if (key == "left") {
        e.Key = kVkLeftButton;
      } else if (key == "right") {
        e.Key = kVkRightButton;
      } else {
        try {
          e.Key = ParseNumber<int32_t>(key, "key");
        } catch (const std::invalid_argument&) {
          fail("expected left, right or a virtual-key number");
        }
        if (e.Key < 0 || e.Key > 255) fail("virtual-key numbers run from 0 to 255");
      }
      e.Type = verb == "down" ? TInputEvent::Down : TInputEvent::Up;
    } else {
      fail("expected move, down or up");
    }
    if (words >> extra) fail("unexpected '" + extra + "'");
    in.events_.emplace(frame, e);
  }
  return in;
}

TScriptedInput TScriptedInput::ReadFile(const std::string& file) {
  const std::vector<uint8_t> bytes = ReadFileBytes(file, file);
  return Parse(std::string(bytes.begin(), bytes.end()));
}

void TScriptedInput::Apply(int64_t frame, TInputState& input) const {
  auto [from, to] = events_.equal_range(frame);
  for (auto it = from; it != to; ++it) {
    const TInputEvent& e = it->second;
    switch (e.Type) {
      case TInputEvent::Move:
        input.CursorX = e.X < 0 ? 0 : e.X > 799 ? 799 : e.X;
        input.CursorY = e.Y < 0 ? 0 : e.Y > 599 ? 599 : e.Y;
        break;
      case TInputEvent::Down:
        input.SetKey(e.Key, true);
        break;
      case TInputEvent::Up:
        input.SetKey(e.Key, false);
        break;
    }
  }
}

std::string DumpStateJson(const TqvxScene& s) {
  using nlohmann::json;
  json j;
  j["location"] = Cp1251ToUtf8(s.LocationName);
  j["previous_location"] = Cp1251ToUtf8(s.PreviousLocation);
  j["variables"] = json::array();
  for (int32_t v : s.Variables) j["variables"].push_back(v);
  // Each sprite's place in its layer's drawing order, from one pass over each
  // layer: looking every sprite up in its layer would cost the square of the
  // object count.
  std::unordered_map<const TGLNode*, int> drawIndex;
  std::unordered_set<const TGLNode*> layers;
  for (const TqvxObject& o : s.Objects) {
    const TGLNode* layer = o.Sprite ? o.Sprite->Parent() : nullptr;
    if (!layer || !layers.insert(layer).second) continue;
    for (int i = 0; i < layer->Count(); ++i) drawIndex.emplace(layer->Child(i), i);
  }
  j["objects"] = json::array();
  for (const TqvxObject& o : s.Objects) {
    json radii = json::array();
    for (const THotSpot& h : o.HotSpots) radii.push_back(h.Radius);
    json object = {
        {"name", Cp1251ToUtf8(o.Name)},
        {"x", o.X},
        {"y", o.Y},
        {"visible", o.Visible},
        {"layer", o.Layer},
        {"picture", o.Sprite ? Cp1251ToUtf8(o.Sprite->LibMaterialName()) : std::string()},
        {"animated", o.Animated},
        {"hot_spot_radii", radii},
    };
    // Where the sprite is drawn: its screen centre, whether culling left it
    // shown, and its place in its layer's drawing order.
    if (o.Sprite) {
      object["screen_x"] = o.Sprite->PositionX;
      object["screen_y"] = o.Sprite->PositionY;
      object["drawn"] = o.Sprite->Visible;
      const auto at = drawIndex.find(o.Sprite);
      object["draw_index"] = at != drawIndex.end() ? at->second : -1;
    }
    j["objects"].push_back(object);
  }
  json waypoints = json::array();
  for (int32_t i = 0; i < s.WaypointCount && i < kMaxWaypoints; ++i)
    waypoints.push_back({s.Waypoints[i].X, s.Waypoints[i].Y});
  j["hero"] = {
      {"index", s.HeroIndex},
      {"walking", s.HeroWalking},
      {"direction", s.HeroDirection},
      {"waypoints", waypoints},
      {"waypoint_index", s.WaypointIndex},
  };
  j["wait_time"] = s.WaitTime;
  j["fade_level"] = s.FadeLevel;
  j["location_timer"] = s.LocationTimer;
  j["scroll_x"] = s.ScrollX;
  j["script_executing"] = s.ScriptExecuting;
  j["input_enabled"] = s.InputEnabled;
  j["menu_active"] = s.MenuActive;
  j["menu_page"] = s.CurrentPage;
  j["menu_enabled"] = s.MenuEnabled;
  j["skip_location"] = Cp1251ToUtf8(s.SkipLocation);
  j["pending_load"] = Cp1251ToUtf8(s.PendingLoad);
  j["loading_save"] = s.LoadingSave;
  j["click_delay"] = s.ClickDelay;
  j["suspended_function"] = s.SuspendedFunction;
  j["drag_object"] = s.DragObject;
  j["outline_timer"] = s.OutlineTimer;
  j["subtitle_shown"] = s.SubtitleShown;
  j["day_phase"] = s.DayTime.Time;
  auto sprite = [](const THUDSprite* sp) {
    if (!sp) return json(nullptr);
    return json{{"x", sp->PositionX}, {"y", sp->PositionY}, {"visible", sp->Visible},
                {"picture", Cp1251ToUtf8(sp->LibMaterialName())}};
  };
  j["cursor"] = sprite(s.Cursor);
  j["feet_marker"] = sprite(s.FeetMarker);
  j["cursor_item"] = sprite(s.CursorItem);
  j["menu_button"] = sprite(s.MenuButton);
  j["keys"] = json::array();
  for (const TKeyEntry& k : s.KeyTable)
    j["keys"].push_back({{"key", k.Key},
                         {"press", k.PressFunction},
                         {"release", k.ReleaseFunction},
                         {"hold", k.HoldFunction},
                         {"state", k.State}});
  j["inventory"] = InventoryStateJson(s);
  j["sound"] = SoundStateJson(s);
  j["effects"] = EffectsStateJson(s);
  j["menu"] = MenuStateJson(s);
  j["video"] = VideoStateJson(s);
  return j.dump(2) + "\n";
}

void WriteStateDump(const TqvxScene& s, const std::string& file) {
  const std::string json = DumpStateJson(s);
  WriteFileBytes(file, std::span(reinterpret_cast<const uint8_t*>(json.data()), json.size()));
}
