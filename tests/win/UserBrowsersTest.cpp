// Opening a browser's endpoint against stand-in servers on 127.0.0.1 that answer as a
// browser in its own-profile debugging mode can: a refusal, an upgrade held while its user
// decides, no endpoint, nothing listening. Who listens is given through the seam.
#include "browser/UserBrowsers.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace {

class RecordingNotifications : public UserNotifications {
public:
    std::vector<std::string> messages;
    std::vector<std::string> notices;
    int ended = 0;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }
    void Beep() override {}
    std::string MessageText(BrowserMessage which) override {
        switch (which) {
        case BrowserMessage::BrowserWaiting: return "waiting:%1";
        case BrowserMessage::BrowserGaveUp: return "gave up:%1";
        case BrowserMessage::BrowserRefused: return "refused:%1";
        default: return "other:%1";
        }
    }
    void BeginNotice(const std::string& text) override { notices.push_back(text); }
    void EndNotice() override { ++ended; }
};

// A server of one connection: reads the request head, then answers `reply` (empty: says
// nothing until it ends) and closes.
class StandInServer {
public:
    explicit StandInServer(std::string reply) : m_reply(std::move(reply)) {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        m_listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        int length = sizeof address;
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
        listen(m_listener, 4);
        m_thread = std::thread([this] {
            const SOCKET client = accept(m_listener, nullptr, nullptr);
            if (client == INVALID_SOCKET) return;
            ++accepted;
            std::string head;
            char buffer[1024];
            while (head.find("\r\n\r\n") == std::string::npos) {
                const int n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0) break;
                head.append(buffer, static_cast<std::size_t>(n));
            }
            if (!m_reply.empty()) send(client, m_reply.data(), static_cast<int>(m_reply.size()), 0);
            while (m_reply.empty() && !m_stop) std::this_thread::sleep_for(std::chrono::milliseconds(20));
            closesocket(client);
        });
    }
    ~StandInServer() {
        m_stop = true;
        closesocket(m_listener);
        m_thread.join();
        WSACleanup();
    }

    std::uint16_t port = 0;
    std::atomic<int> accepted{0};

private:
    std::string m_reply;
    SOCKET m_listener = INVALID_SOCKET;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

// The system names no owner of any socket, as under Wine.
const ListenerSystem kNoOwner = {[](std::uint16_t) -> DWORD { return 0; },
                                 [](DWORD, std::wstring&) { return false; },
                                 [](DWORD) { return OwnerUser::Unknown; }};
// Another program of this user listens on every port.
const ListenerSystem kOtherProgram = {[](std::uint16_t) -> DWORD { return 4120; },
                                      [](DWORD, std::wstring& name) {
                                          name = L"python.exe";
                                          return true;
                                      },
                                      [](DWORD) { return OwnerUser::Same; }};

FoundBrowser Chrome(std::uint16_t port) { return {"Google Chrome", {port, "/devtools/browser/b1"}}; }

double Seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

TEST(DevToolsConnections, ARefusalIsToldOnce) {
    StandInServer server("HTTP/1.1 403 Forbidden\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
    DevToolsConnections connections(60000, 1000, kNoOwner);
    RecordingNotifications notify;
    EXPECT_FALSE(connections.Connect(Chrome(server.port), notify));
    EXPECT_EQ(std::vector<std::string>{"refused:Google Chrome"}, notify.messages);
    EXPECT_TRUE(notify.notices.empty());
    EXPECT_EQ(0, connections.Opened());
}

TEST(DevToolsConnections, AHeldUpgradeShowsTheNoticeThenGivesTheBrowserUp) {
    StandInServer server("");
    DevToolsConnections connections(1500, 100, kNoOwner);
    RecordingNotifications notify;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(connections.Connect(Chrome(server.port), notify));
    EXPECT_LT(Seconds(start), 10.0) << "the wait is bounded";
    EXPECT_EQ(std::vector<std::string>{"waiting:Google Chrome"}, notify.notices);
    EXPECT_EQ(1, notify.ended);
    EXPECT_EQ(std::vector<std::string>{"gave up:Google Chrome"}, notify.messages);
}

TEST(DevToolsConnections, AStaleFileCostsNoWaitAndNoWord) {
    RecordingNotifications notify;
    DevToolsConnections connections(60000, 1000, kNoOwner);
    const auto start = std::chrono::steady_clock::now();
    {
        // Another program on the port, which serves no browser endpoint.
        StandInServer server("HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n");
        EXPECT_FALSE(connections.Connect(Chrome(server.port), notify));
    }
    std::uint16_t freed = 0;
    {
        StandInServer server("HTTP/1.1 404 Not Found\r\n\r\n");
        freed = server.port;
        // A program the system names as no browser is not even connected to.
        DevToolsConnections named(60000, 1000, kOtherProgram);
        EXPECT_FALSE(named.Connect(Chrome(server.port), notify));
        EXPECT_EQ(0, server.accepted.load());
    }
    // Nothing listens any more.
    EXPECT_FALSE(connections.Connect(Chrome(freed), notify));
    EXPECT_LT(Seconds(start), 5.0);
    EXPECT_TRUE(notify.messages.empty());
    EXPECT_TRUE(notify.notices.empty());
}
