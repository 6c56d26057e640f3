// Feeds arbitrary files to the settings-file reader and writer and checks what
// must hold for any file: a written value reads back, a write leaves the values
// of other sections alone, and every line but the written one keeps its bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/utf8.h"
#include "store/profile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The two texts differ in one stretch that holds no line end of the first:
// at most one line's text was replaced, the rest only had lines put between.
bool OnlyOneLineChanged(std::string_view before, std::string_view after) {
  std::size_t head = 0;
  while (head < before.size() && head < after.size() && before[head] == after[head]) ++head;
  std::size_t tail = 0;
  while (tail < before.size() - head && tail < after.size() - head &&
         before[before.size() - 1 - tail] == after[after.size() - 1 - tail])
    ++tail;
  return before.substr(head, before.size() - head - tail).find_first_of("\r\n") ==
         std::string_view::npos;
}

// Compared as text where the file is UTF-16, whose units hold line-end bytes.
bool EveryOtherLineKept(const std::string& before, const std::string& after) {
  if (before.rfind("\xFF\xFE", 0) == 0)
    return after.rfind("\xFF\xFE", 0) == 0 &&
           OnlyOneLineChanged(vantrel::Utf16LeToUtf8(std::string_view(before).substr(2)),
                              vantrel::Utf16LeToUtf8(std::string_view(after).substr(2)));
  return OnlyOneLineChanged(before, after);
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
  Check(EveryOtherLineKept(contents, written));
  // Writing the same value again changes nothing.
  Check(vantrel::ProfileWrite(written, "Files", "Key1", value) == written);
  return 0;
}
