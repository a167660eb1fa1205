// Which web addresses may stand in for the vendor's site. The address can be
// replaced from outside the program (for tests, by an environment
// variable), so only a secure address, or a plain one that stays on this
// computer, is accepted: a replaced address decides what the update check
// reads and which page the user is sent to.
#pragma once

#include <string_view>

namespace brevalo {

// True for "https://" followed by a host, and for "http://" to a loopback
// host (localhost, 127.x.y.z, [::1]), with an optional port and path. The
// scheme and "localhost" are matched in either case. Anything else, other
// schemes, a plain address to another host, user names before the host, backslashes in it,
// blanks or control characters, '?', '#' or '%' anywhere, is refused.
bool IsAcceptedVendorSite(std::string_view site);

} // namespace brevalo
