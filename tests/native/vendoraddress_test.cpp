// Which addresses may replace the vendor's site.
#include "VendorAddress.h"

#include <gtest/gtest.h>

namespace brevalo {
namespace {

TEST(VendorAddress, SecureSitesAndPlainAddressesOfThisComputerAreAccepted) {
    for (const char* site :
         {"https://www.orsenic-software.com", "HTTPS://mirror.example.org:8443/brevalo",
          "http://127.0.0.1:8123", "http://127.0.0.1", "http://127.255.0.9:80/site",
          "http://localhost:8080", "http://LocalHost", "http://[::1]:8123", "http://[::1]",
          "Http://127.0.0.1/x"}) {
        EXPECT_TRUE(IsAcceptedVendorSite(site)) << site;
    }
}

TEST(VendorAddress, OtherSchemesHostsAndDisguisesAreRefused) {
    for (const char* site :
         {"", "ftp://127.0.0.1", "file:///C:/site", "C:\\site", "\\\\host\\share",
          "javascript:alert(1)", "http://example.com", "http://10.0.0.1", "http://128.0.0.1",
          "http://127.0.0.1.example.com", "http://127.0.0.1@example.com",
          "http://localhost@example.com", "http://127.0.0.1\\@example.com", "http://127.1",
          "http://127.0.0.256", "http://127.0.0.1:", "http://127.0.0.1:80x", "http://[::2]",
          "http://[::1", "http://localhost.example.com", "https://", "https://:443",
          "https://user@example.com", "http:// 127.0.0.1", "https://exa mple.com",
          "http://127.0.0.1\t", "http:127.0.0.1", "http//127.0.0.1",
          // Whatever a download library makes of them: no query, fragment or escape.
          "http://127.0.0.1?x=1", "http://localhost#@example.com", "https://example.com/a?b",
          "http://127.0.0.1%2f@example.com", "https://example.com/%41", "http://localhost:80#x"}) {
        EXPECT_FALSE(IsAcceptedVendorSite(site)) << site;
    }
}

} // namespace
} // namespace brevalo
