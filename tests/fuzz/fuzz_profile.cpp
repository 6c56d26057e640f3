// Feeds arbitrary files to the settings-file reader and writer and checks what
// must hold for any file: a written value reads back, and a write leaves the
// values of other sections alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "store/profile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first bytes make the value to write; the rest is the file.
  const std::size_t valueLength = data[0] % 40;
  const std::size_t take = valueLength < size - 1 ? valueLength : size - 1;
  static const char kAlphabet[] = "abcXYZ019 =;\"'\\:/.";
  std::string value = "v";
  for (std::size_t i = 0; i < take; ++i) value += kAlphabet[data[1 + i] % (sizeof kAlphabet - 1)];
  value += "e";
  const std::string contents(reinterpret_cast<const char*>(data) + 1 + take, size - 1 - take);

  const std::string before = vantrel::ProfileRead(contents, "Other", "Probe", "none");
  (void)vantrel::ProfileRead(contents, "Files", "Desc1", "No Title Entered");

  const std::string written = vantrel::ProfileWrite(contents, "Files", "Key1", value);
  Check(vantrel::ProfileRead(written, "Files", "Key1", "MISSING") == value);
  Check(vantrel::ProfileRead(written, "Other", "Probe", "none") == before);
  // Writing the same value again changes nothing.
  Check(vantrel::ProfileWrite(written, "Files", "Key1", value) == written);
  return 0;
}
