#include "support/LoopbackHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

namespace vptest {

namespace {

constexpr size_t kHeadLimit = 64 * 1024;
constexpr size_t kPiece = 16384;

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string TrimSpaces(const std::string& text)
{
    size_t begin = text.find_first_not_of(" \t");
    size_t end = text.find_last_not_of(" \t");
    return begin == std::string::npos ? std::string() : text.substr(begin, end - begin + 1);
}

// Splits the head into the request line's parts and the header lines.
bool ParseHead(const std::string& head, TRecordedRequest& request)
{
    size_t lineEnd = head.find("\r\n");
    std::string line = head.substr(0, lineEnd);
    size_t first = line.find(' ');
    size_t last = line.rfind(' ');
    if (first == std::string::npos || last == first)
        return false;
    request.Method = line.substr(0, first);
    request.Target = line.substr(first + 1, last - first - 1);
    request.Version = line.substr(last + 1);
    size_t at = lineEnd + 2;
    while (at < head.size()) {
        size_t end = head.find("\r\n", at);
        if (end == std::string::npos)
            end = head.size();
        std::string header = head.substr(at, end - at);
        size_t colon = header.find(':');
        if (colon != std::string::npos)
            request.Headers.emplace_back(header.substr(0, colon), TrimSpaces(header.substr(colon + 1)));
        at = end + 2;
    }
    return true;
}

} // namespace

uint16_t UnusedLoopbackPort()
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof(address);
    bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof(address));
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &size);
    closesocket(probe);
    WSACleanup();
    return ntohs(address.sin_port);
}

std::string TRecordedRequest::Header(const std::string& name) const
{
    for (const auto& [key, value] : Headers)
        if (Lower(key) == Lower(name))
            return value;
    return std::string();
}

bool TRecordedRequest::HasHeader(const std::string& name) const
{
    for (const auto& header : Headers)
        if (Lower(header.first) == Lower(name))
            return true;
    return false;
}

TLoopbackHttpServer::TLoopbackHttpServer(THandler handler) : FHandler(std::move(handler))
{
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    int size = sizeof(address);
    if (listener == INVALID_SOCKET ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(listener, 64) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        throw std::runtime_error("the loopback server cannot listen");
    FListener = listener;
    FPort = ntohs(address.sin_port);
    FAcceptThread = std::thread([this] { AcceptLoop(); });
}

TLoopbackHttpServer::~TLoopbackHttpServer()
{
    FStopping = true;
    closesocket(static_cast<SOCKET>(FListener));
    {
        std::lock_guard<std::mutex> lock(FGuard);
        for (uintptr_t client : FClients)
            shutdown(static_cast<SOCKET>(client), SD_BOTH);
    }
    FChanged.notify_all();
    FAcceptThread.join();
    // No new client threads after the accept loop has ended.
    for (std::thread& thread : FClientThreads)
        thread.join();
    WSACleanup();
}

std::u16string TLoopbackHttpServer::URL(const std::string& path) const
{
    std::string text = "http://127.0.0.1:" + std::to_string(FPort) + path;
    return std::u16string(text.begin(), text.end());
}

std::vector<TRecordedRequest> TLoopbackHttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(FGuard);
    return FRequests;
}

size_t TLoopbackHttpServer::RequestCount() const
{
    std::lock_guard<std::mutex> lock(FGuard);
    return FRequests.size();
}

bool TLoopbackHttpServer::WaitForRequests(size_t count, unsigned timeoutMs) const
{
    std::unique_lock<std::mutex> lock(FGuard);
    return FChanged.wait_for(
        lock, std::chrono::milliseconds(timeoutMs), [&] { return FRequests.size() >= count; });
}

void TLoopbackHttpServer::AcceptLoop()
{
    while (!FStopping) {
        SOCKET client = accept(static_cast<SOCKET>(FListener), nullptr, nullptr);
        if (client == INVALID_SOCKET)
            continue; // the listener was closed, or a connection failed on its way in
        ++FConnections;
        std::lock_guard<std::mutex> lock(FGuard);
        if (FStopping) {
            closesocket(client);
            break;
        }
        FClients.push_back(client);
        FClientThreads.emplace_back([this, client] { Serve(client); });
    }
}

bool TLoopbackHttpServer::SendAll(uintptr_t client, const char* data, size_t size)
{
    while (size > 0) {
        int sent =
            send(static_cast<SOCKET>(client), data, static_cast<int>(std::min<size_t>(size, 1 << 20)), 0);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool TLoopbackHttpServer::Pause(unsigned ms)
{
    std::unique_lock<std::mutex> lock(FGuard);
    return !FChanged.wait_for(lock, std::chrono::milliseconds(ms), [&] { return FStopping.load(); });
}

void TLoopbackHttpServer::Serve(uintptr_t client)
{
    SOCKET socket = static_cast<SOCKET>(client);
    std::string received;
    char buffer[8192];
    size_t headEnd = std::string::npos;
    while (headEnd == std::string::npos && received.size() < kHeadLimit) {
        int got = recv(socket, buffer, sizeof(buffer), 0);
        if (got <= 0)
            break;
        received.append(buffer, static_cast<size_t>(got));
        headEnd = received.find("\r\n\r\n");
    }
    TRecordedRequest request;
    bool complete = headEnd != std::string::npos && ParseHead(received.substr(0, headEnd), request);
    if (complete) {
        request.Body = received.substr(headEnd + 4);
        size_t length =
            static_cast<size_t>(std::strtoull(request.Header("Content-Length").c_str(), nullptr, 10));
        while (request.Body.size() < length) {
            int got = recv(socket, buffer, sizeof(buffer), 0);
            if (got <= 0)
                break;
            request.Body.append(buffer, static_cast<size_t>(got));
        }
        {
            std::lock_guard<std::mutex> lock(FGuard);
            FRequests.push_back(request);
        }
        FChanged.notify_all();

        TReply reply = FHandler(request);
        bool go = true;
        if (reply.Stall)
            while (go)
                go = Pause(1000);
        if (go && reply.DelayMs)
            go = Pause(reply.DelayMs);
        if (go) {
            uint64_t bodySize = reply.StreamBytes ? reply.StreamBytes : reply.Body.size();
            std::string head = "HTTP/1.1 " + std::to_string(reply.Status) + " " + reply.Reason + "\r\n";
            for (const std::string& header : reply.Headers)
                head += header + "\r\n";
            if (reply.AnnounceLength)
                head += "Content-Length: " +
                    std::to_string(reply.AnnouncedLength >= 0 ? static_cast<uint64_t>(reply.AnnouncedLength)
                                                              : bodySize) +
                    "\r\n";
            head += "Connection: close\r\n\r\n";
            go = SendAll(client, head.data(), head.size());
            std::string piece;
            for (uint64_t at = 0; go && at < bodySize; at += kPiece) {
                size_t n = static_cast<size_t>(std::min<uint64_t>(kPiece, bodySize - at));
                if (reply.StreamBytes) {
                    piece.resize(n);
                    for (size_t i = 0; i < n; ++i)
                        piece[i] = GeneratedByte(at + i);
                } else {
                    piece = reply.Body.substr(static_cast<size_t>(at), n);
                }
                go = SendAll(client, piece.data(), piece.size());
                if (go && reply.PieceDelayMs && at + n < bodySize)
                    go = Pause(reply.PieceDelayMs);
            }
        }
    }
    shutdown(socket, SD_SEND);
    {
        std::lock_guard<std::mutex> lock(FGuard);
        FClients.erase(std::remove(FClients.begin(), FClients.end(), client), FClients.end());
    }
    closesocket(socket);
}

} // namespace vptest
