// The vendor's web server: where the version file and the online help live.
#pragma once

#include <string>

namespace brevalo::os {

// Scheme and host of the vendor's web server, without a trailing slash.
inline constexpr char kVendorSite[] = "https://www.orsenic-software.com";

// The vendor's site: kVendorSite, or the value of the environment variable
// BREVALO_VENDOR_URL, without its trailing slashes, when that is an
// accepted address (IsAcceptedVendorSite: "https://" to any host, or
// "http://" to this computer, such as "http://127.0.0.1:8123", so that a
// test server can stand in). Any other value is ignored.
std::string VendorSiteUrl();

// "/bvver.txt" on the vendor's site: the published update number.
std::string VersionFileUrl();
// "/help/index.html" on the vendor's site: the online help.
std::string HelpPageUrl();

} // namespace brevalo::os
