// A small web server on 127.0.0.1 for tests: it answers every request with
// the body it was given, at once or after a delay (or hangs up), and
// remembers the paths asked for, so a test can count the requests a program
// made.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace brevalo::testsupport {

class TestServer {
public:
    enum class Mode { Answer, HangUp };

    TestServer() {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
            throw std::runtime_error("WSAStartup failed");
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = 0; // any free port
        int length = sizeof address;
        if (listener_ == INVALID_SOCKET ||
            bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Run(); });
    }

    ~TestServer() {
        stop_ = true;
        thread_.join();
        closesocket(listener_);
        WSACleanup();
    }

    std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_); }

    // `delay`: how long the server keeps silent after reading a request
    // before it answers (it stops waiting when it is destroyed).
    void Answer(std::string body, int status = 200,
                std::chrono::milliseconds delay = std::chrono::milliseconds(0)) {
        std::lock_guard lock(mutex_);
        mode_ = Mode::Answer;
        body_ = std::move(body);
        status_ = status;
        delay_ = delay;
    }
    void HangUp() {
        std::lock_guard lock(mutex_);
        mode_ = Mode::HangUp;
    }

    std::vector<std::string> Paths() const {
        std::lock_guard lock(mutex_);
        return paths_;
    }

private:
    void Run() {
        while (!stop_) {
            fd_set ready;
            FD_ZERO(&ready);
            FD_SET(listener_, &ready);
            timeval wait{0, 20000};
            if (select(0, &ready, nullptr, nullptr, &wait) <= 0)
                continue;
            const SOCKET client = accept(listener_, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                continue;
            Handle(client);
            closesocket(client);
        }
    }

    void Handle(SOCKET client) {
        const DWORD timeout = 5000;
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout),
                   sizeof timeout);
        std::string request;
        char buffer[4096];
        while (request.find("\r\n\r\n") == std::string::npos) {
            const int got = recv(client, buffer, sizeof buffer, 0);
            if (got <= 0)
                return;
            request.append(buffer, std::size_t(got));
        }
        std::string response;
        std::chrono::milliseconds delay{0};
        {
            std::lock_guard lock(mutex_);
            delay = delay_;
            const std::size_t start = request.find(' ') + 1;
            paths_.push_back(request.substr(start, request.find(' ', start) - start));
            if (mode_ == Mode::HangUp)
                return;
            response =
                "HTTP/1.1 " + std::to_string(status_) + (status_ == 200 ? " OK" : " Not Found") +
                "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body_.size()) +
                "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n" + body_;
        }
        const auto answerAt = std::chrono::steady_clock::now() + delay;
        while (!stop_ && std::chrono::steady_clock::now() < answerAt)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        for (std::size_t sent = 0; sent < response.size();) {
            const int n = send(client, response.data() + sent,
                               int(std::min<std::size_t>(response.size() - sent, 1 << 16)), 0);
            if (n <= 0)
                return;
            sent += std::size_t(n);
        }
        shutdown(client, SD_SEND);
    }

    SOCKET listener_ = INVALID_SOCKET;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    Mode mode_ = Mode::Answer;
    std::string body_;
    int status_ = 200;
    std::chrono::milliseconds delay_{0};
    std::vector<std::string> paths_;
    std::thread thread_;
};

} // namespace brevalo::testsupport
