// The binary stream layer every file format goes through: fixed-width
// little-endian fields over a byte span or a file, and a writer to match.
//
// Reads follow the game's file conventions: a field that the data no longer
// holds is left unchanged and the read reports false; nothing ever reads past
// the end. Callers that must refuse short data check the return value or
// Remaining() before allocating.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

class TBinaryReader {
 public:
  // Reads from memory the caller keeps alive.
  TBinaryReader(std::span<const uint8_t> data, std::string name = {});
  // Opens a regular file without blocking; throws EGameError with the open
  // error's text for a file that is missing or is a folder, pipe or device.
  // `displayName` is the name the error and messages show (the game path).
  explicit TBinaryReader(const std::filesystem::path& file, std::string displayName = {});
  ~TBinaryReader();
  TBinaryReader(const TBinaryReader&) = delete;
  TBinaryReader& operator=(const TBinaryReader&) = delete;

  bool ReadInt32(int32_t& v);
  bool ReadUInt32(uint32_t& v);
  bool ReadUInt16(uint16_t& v);
  bool ReadInt16(int16_t& v);
  bool ReadFloat(float& v);
  bool ReadByte(uint8_t& v);
  bool ReadBool(bool& v);  // one byte, non-zero is true
  // strN: a length byte and N bytes; a length above N is cut to N. The text is
  // kept as raw cp1251 bytes.
  bool ReadStr(int n, std::string& v);
  // All or nothing: reads `n` bytes or, when fewer remain, none at all.
  bool ReadBytes(void* dst, size_t n);
  bool Skip(uint64_t n);
  bool Seek(uint64_t pos);

  uint64_t Position() const { return pos_; }
  uint64_t Size() const { return size_; }
  uint64_t Remaining() const { return size_ - pos_; }
  bool AtEnd() const { return pos_ >= size_; }
  // Whether some read or skip asked for more than the data held.
  bool RanShort() const { return ranShort_; }
  const std::string& Name() const { return name_; }

 private:
  std::span<const uint8_t> data_;
  std::FILE* file_ = nullptr;
  uint64_t pos_ = 0;
  uint64_t size_ = 0;
  bool ranShort_ = false;
  std::string name_;
};

class TBinaryWriter {
 public:
  void WriteInt32(int32_t v);
  void WriteUInt32(uint32_t v);
  void WriteUInt16(uint16_t v);
  void WriteInt16(int16_t v);
  void WriteFloat(float v);
  void WriteByte(uint8_t v);
  void WriteBool(bool v);
  // strN: length byte (text cut to N) then exactly N bytes, padded with zeros.
  void WriteStr(int n, const std::string& v);
  void WriteBytes(const void* src, size_t n);

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t>& Bytes() { return bytes_; }
  size_t Size() const { return bytes_.size(); }

 private:
  std::vector<uint8_t> bytes_;
};

// Whole-file helpers. Reading throws the open error; writing throws EGameError
// naming the file and the system reason.
std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& file, const std::string& displayName = {});
void WriteFileBytes(const std::filesystem::path& file, std::span<const uint8_t> bytes);
