// The maker's web site, which the download command opens.
#pragma once

namespace vantrel {

// The maker's web site: the download command names it, and Application hands
// it to the web page dialog for its example.
inline constexpr const char* kMakerSite = "https://www.vantrel.org/";

}  // namespace vantrel
