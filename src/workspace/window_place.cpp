// A window's remembered place and its text in the settings file.
#include "workspace/window_place.h"

#include <array>
#include <charconv>

namespace vantrel {
namespace {

constexpr int kMaxCoordinate = 1000000;
constexpr int kMaxDpi = 10000;
constexpr std::size_t kMaxDevice = 31;  // a device name's room in the system, less its end
constexpr std::array<const char*, 3> kStateWords = {"normal", "maximised", "minimised"};

// One number as PlaceText writes it: the canonical form only, so that the text
// read is the text written back.
std::optional<int> Number(std::string_view text, int low, int high) {
  if (text.empty() || text == "-0" || text.front() == '+') return std::nullopt;
  const std::size_t digits = text.front() == '-' ? 1 : 0;
  if (text.size() > digits + 1 && text[digits] == '0') return std::nullopt;
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    return std::nullopt;
  return value;
}

// The device name last, so that it may hold commas; printable ASCII without a
// blank at either end, which the settings file would drop.
bool StorableDevice(std::string_view device) {
  if (device.size() > kMaxDevice) return false;
  for (char c : device)
    if (c < 0x20 || c > 0x7E) return false;
  return device.empty() || (device.front() != ' ' && device.back() != ' ');
}

std::optional<Rect> Bounds(const std::array<std::string_view, 4>& fields) {
  const auto left = Number(fields[0], -kMaxCoordinate, kMaxCoordinate);
  const auto top = Number(fields[1], -kMaxCoordinate, kMaxCoordinate);
  const auto width = Number(fields[2], 1, kMaxCoordinate);
  const auto height = Number(fields[3], 1, kMaxCoordinate);
  if (!left || !top || !width || !height) return std::nullopt;
  return Rect{*left, *top, *width, *height};
}

void AppendRect(std::string& text, const Rect& r) {
  for (int v : {r.left, r.top, r.width, r.height}) text += "," + std::to_string(v);
}

}  // namespace

bool SameRect(const Rect& a, const Rect& b) {
  return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
}

bool SamePlace(const WindowPlace& a, const WindowPlace& b) {
  return a.placement.state == b.placement.state &&
         SameRect(a.placement.normal, b.placement.normal) && a.device == b.device &&
         SameRect(a.monitor, b.monitor) && a.dpi == b.dpi;
}

std::string PlaceKey(const std::string& entryKey) { return entryKey + kPlaceWord; }

std::string PlaceText(const WindowPlace& place) {
  std::string text = kStateWords[static_cast<std::size_t>(place.placement.state)];
  AppendRect(text, place.placement.normal);
  text += "," + std::to_string(place.dpi);
  AppendRect(text, place.monitor);
  return text + "," + place.device;
}

std::optional<WindowPlace> ParsePlace(std::string_view text) {
  std::array<std::string_view, 10> fields;
  for (std::string_view& field : fields) {
    const std::size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    field = text.substr(0, comma);
    text.remove_prefix(comma + 1);
  }
  WindowPlace place;
  std::size_t state = 0;
  while (state < kStateWords.size() && fields[0] != kStateWords[state]) ++state;
  const auto bounds = Bounds({fields[1], fields[2], fields[3], fields[4]});
  const auto dpi = Number(fields[5], 1, kMaxDpi);
  const auto monitor = Bounds({fields[6], fields[7], fields[8], fields[9]});
  if (state == kStateWords.size() || !bounds || !dpi || !monitor || !StorableDevice(text))
    return std::nullopt;
  place.placement = {static_cast<ShowState>(state), *bounds};
  place.dpi = *dpi;
  place.monitor = *monitor;
  place.device = std::string(text);
  return place;
}

bool Storable(const WindowPlace& place) {
  const auto back = ParsePlace(PlaceText(place));
  return back.has_value() && SamePlace(*back, place);
}

}  // namespace vantrel
