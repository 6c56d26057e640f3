#pragma once

namespace vantrel {

// The maker's web site: the download command, the help and the web page
// dialog's example all name this one address.
inline constexpr const char* kMakerSite = "https://www.vantrel.org/";

}  // namespace vantrel
