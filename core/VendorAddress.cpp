#include "VendorAddress.h"

#include <string>

namespace brevalo {

namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return out;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool AllDigits(std::string_view text) {
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return !text.empty();
}

// 127.x.y.z, each part written as one to three decimal digits up to 255.
bool IsLoopbackIPv4(std::string_view host) {
    int parts = 0;
    while (true) {
        const std::size_t dot = host.find('.');
        const std::string_view part = host.substr(0, dot);
        if (!AllDigits(part) || part.size() > 3 || std::stoi(std::string(part)) > 255) {
            return false;
        }
        if (parts == 0 && part != "127") {
            return false;
        }
        ++parts;
        if (dot == std::string_view::npos) {
            break;
        }
        host.remove_prefix(dot + 1);
    }
    return parts == 4;
}

// The host and optional port of a plain address; the host must be this
// computer.
bool IsLoopbackAuthority(std::string_view authority) {
    std::string_view host = authority;
    std::string_view port;
    if (StartsWith(authority, "[")) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        host = authority.substr(0, close + 1);
        const std::string_view rest = authority.substr(close + 1);
        if (!rest.empty()) {
            if (rest.front() != ':') {
                return false;
            }
            port = rest.substr(1);
            if (!AllDigits(port)) {
                return false;
            }
        }
        return host == "[::1]";
    }
    const std::size_t colon = authority.find(':');
    if (colon != std::string_view::npos) {
        host = authority.substr(0, colon);
        port = authority.substr(colon + 1);
        if (!AllDigits(port) || port.size() > 5) {
            return false;
        }
    }
    return Lower(host) == "localhost" || IsLoopbackIPv4(host);
}

} // namespace

bool IsAcceptedVendorSite(std::string_view site) {
    // The program appends its own paths to the site, so a query or a
    // fragment has no place in it; and '%' would let an escape stand for a
    // character that ends the host for one reader and not for another.
    for (const char c : site) {
        const auto code = static_cast<unsigned char>(c);
        if (code <= ' ' || code == 0x7F || c == '#' || c == '?' || c == '%') {
            return false;
        }
    }
    const std::string lower = Lower(site);
    const bool secure = StartsWith(lower, "https://");
    if (!secure && !StartsWith(lower, "http://")) {
        return false;
    }
    const std::string_view rest = site.substr(secure ? 8 : 7);
    const std::string_view authority = rest.substr(0, rest.find('/'));
    // "http://127.0.0.1@example.com" goes to example.com, and readers differ
    // on whether a backslash ends the host.
    if (authority.empty() || authority.front() == ':' ||
        authority.find_first_of("@\\") != std::string_view::npos) {
        return false;
    }
    return secure || IsLoopbackAuthority(authority);
}

} // namespace brevalo
