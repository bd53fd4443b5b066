#include "platform/stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/game_error.h"

EGameError MakeOpenError(const std::string& name, const std::string& reason) {
  return EGameError("Cannot open file \"" + name + "\". " + reason);
}

TBinaryReader::TBinaryReader(std::span<const uint8_t> data, std::string name)
    : data_(data), size_(data.size()), name_(std::move(name)) {}

TBinaryReader::TBinaryReader(const std::filesystem::path& file, std::string displayName)
    : name_(displayName.empty() ? file.string() : std::move(displayName)) {
  // Without blocking: opening a named pipe for reading would otherwise wait
  // for a writer that never comes. Only regular files are game files.
  const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) throw MakeOpenError(name_, std::strerror(errno));
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    throw MakeOpenError(name_, S_ISDIR(st.st_mode) ? std::strerror(EISDIR) : "Not a regular file.");
  }
  file_ = ::fdopen(fd, "rb");
  if (!file_) {
    const int reason = errno;
    ::close(fd);
    throw MakeOpenError(name_, std::strerror(reason));
  }
  if (std::fseek(file_, 0, SEEK_END) == 0) {
    long end = std::ftell(file_);
    size_ = end > 0 ? static_cast<uint64_t>(end) : 0;
  }
  std::fseek(file_, 0, SEEK_SET);
}

TBinaryReader::~TBinaryReader() {
  if (file_) std::fclose(file_);
}

bool TBinaryReader::ReadBytes(void* dst, size_t n) {
  if (n > Remaining()) {
    ranShort_ = true;
    return false;
  }
  if (n == 0) return true;
  if (file_) {
    if (std::fread(dst, 1, n, file_) != n) {
      // The file shrank under us: behave as at its end.
      size_ = pos_;
      ranShort_ = true;
      return false;
    }
  } else {
    std::memcpy(dst, data_.data() + pos_, n);
  }
  pos_ += n;
  return true;
}

bool TBinaryReader::Skip(uint64_t n) {
  if (n > Remaining()) {
    Seek(size_);
    ranShort_ = true;
    return false;
  }
  return Seek(pos_ + n);
}

bool TBinaryReader::Seek(uint64_t pos) {
  if (pos > size_) return false;
  if (file_ && std::fseek(file_, static_cast<long>(pos), SEEK_SET) != 0) return false;
  pos_ = pos;
  return true;
}

namespace {
template <typename T>
T FromLittle(const uint8_t* b) {
  using U = std::make_unsigned_t<T>;
  U u = 0;
  for (size_t i = 0; i < sizeof(T); ++i) u |= static_cast<U>(static_cast<U>(b[i]) << (8 * i));
  return static_cast<T>(u);
}
}  // namespace

bool TBinaryReader::ReadInt32(int32_t& v) {
  uint8_t b[4];
  if (!ReadBytes(b, 4)) return false;
  v = FromLittle<int32_t>(b);
  return true;
}

bool TBinaryReader::ReadUInt32(uint32_t& v) {
  uint8_t b[4];
  if (!ReadBytes(b, 4)) return false;
  v = FromLittle<uint32_t>(b);
  return true;
}

bool TBinaryReader::ReadUInt16(uint16_t& v) {
  uint8_t b[2];
  if (!ReadBytes(b, 2)) return false;
  v = FromLittle<uint16_t>(b);
  return true;
}

bool TBinaryReader::ReadInt16(int16_t& v) {
  uint8_t b[2];
  if (!ReadBytes(b, 2)) return false;
  v = FromLittle<int16_t>(b);
  return true;
}

bool TBinaryReader::ReadFloat(float& v) {
  uint32_t u;
  if (!ReadUInt32(u)) return false;
  std::memcpy(&v, &u, 4);
  return true;
}

bool TBinaryReader::ReadByte(uint8_t& v) { return ReadBytes(&v, 1); }

bool TBinaryReader::ReadBool(bool& v) {
  uint8_t b;
  if (!ReadBytes(&b, 1)) return false;
  v = b != 0;
  return true;
}

bool TBinaryReader::ReadStr(int n, std::string& v) {
  std::vector<uint8_t> raw(static_cast<size_t>(n) + 1);
  if (!ReadBytes(raw.data(), raw.size())) return false;
  size_t len = raw[0] > n ? static_cast<size_t>(n) : raw[0];
  v.assign(reinterpret_cast<const char*>(raw.data() + 1), len);
  return true;
}

void TBinaryWriter::WriteBytes(const void* src, size_t n) {
  auto p = static_cast<const uint8_t*>(src);
  bytes_.insert(bytes_.end(), p, p + n);
}

void TBinaryWriter::WriteUInt32(uint32_t v) {
  uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                  static_cast<uint8_t>(v >> 24)};
  WriteBytes(b, 4);
}

void TBinaryWriter::WriteInt32(int32_t v) { WriteUInt32(static_cast<uint32_t>(v)); }

void TBinaryWriter::WriteUInt16(uint16_t v) {
  uint8_t b[2] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8)};
  WriteBytes(b, 2);
}

void TBinaryWriter::WriteInt16(int16_t v) { WriteUInt16(static_cast<uint16_t>(v)); }

void TBinaryWriter::WriteFloat(float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  WriteUInt32(u);
}

void TBinaryWriter::WriteByte(uint8_t v) { bytes_.push_back(v); }

void TBinaryWriter::WriteBool(bool v) { bytes_.push_back(v ? 1 : 0); }

void TBinaryWriter::WriteStr(int n, const std::string& v) {
  size_t len = v.size() > static_cast<size_t>(n) ? static_cast<size_t>(n) : v.size();
  bytes_.push_back(static_cast<uint8_t>(len));
  WriteBytes(v.data(), len);
  bytes_.insert(bytes_.end(), static_cast<size_t>(n) - len, 0);
}

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file, const std::string& displayName) {
  TBinaryReader r(file, displayName);
  std::vector<uint8_t> out(r.Size());
  if (!r.ReadBytes(out.data(), out.size())) out.resize(0);
  return out;
}

void WriteFileBytes(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
  std::FILE* f = std::fopen(file.c_str(), "wb");
  if (!f) throw EGameError("Cannot create file \"" + file.string() + "\". " + std::strerror(errno));
  size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), f);
  int closeResult = std::fclose(f);
  if (written != bytes.size() || closeResult != 0)
    throw EGameError("Cannot write file \"" + file.string() + "\". " + std::strerror(errno));
}
