// publisher: the local stand-in for the publisher's web services, on 127.0.0.1 only. It
// serves the update reply, the location lookup, the keep-alive address, flag images, the
// web pages and a check-IP page, logs every request, and lets a test switch how the update
// and location services answer through /control. The sample publisher.conf tells the rest.
#include "PublisherConfig.h"
#include "Replies.h"
#include "RequestLog.h"

#include <httplib.h>

#include <atomic>
#include <cctype>
#include <condition_variable>
#include <csignal>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <thread>

#include <pthread.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

namespace vp::publisher {

namespace {

constexpr const char* kUsage =
    "usage: publisher [--config <file>] [--port <port>] [--log <file>] [--root <folder>]\n"
    "  --port 0 picks a free port; the port in use is printed at start.\n"
    "  Routes: /update /getinfo /touch /flags/<file> /files/<file> /home /help /support /eula\n"
    "  /privary /checkip /redirect?ACTION=<page>\n"
    "  /control?update=<mode>&update_stall=<s>&update_body=<text>&location=...\n";

// Stalled replies are held on a pool thread each; keep enough for them and for /control.
constexpr size_t kWorkerThreads = 32;

// The behaviour of the two services, which /control changes while requests wait on it.
class TServiceState {
public:
    explicit TServiceState(const TPublisherConfig& aConfig)
        : FUpdate(aConfig.Update), FLocation(aConfig.Location)
    {
    }

    TBehaviour Get(bool aUpdate)
    {
        std::lock_guard lock(FMutex);
        return aUpdate ? FUpdate : FLocation;
    }

    void Set(const TBehaviour& aUpdate, const TBehaviour& aLocation)
    {
        {
            std::lock_guard lock(FMutex);
            FUpdate = aUpdate;
            FLocation = aLocation;
        }
        FChanged.notify_all();
    }

    // Holds a stalled reply until its seconds have passed (0: no limit), the mode changes or
    // the service stops. Returns the mode to answer with: the new one after a change, else
    // Normal; nothing when the service stops.
    std::optional<TReplyMode> WaitOutStall(bool aUpdate, int aSeconds)
    {
        std::unique_lock lock(FMutex);
        auto released = [&] {
            return FStopping || (aUpdate ? FUpdate : FLocation).Mode != TReplyMode::Stall;
        };
        if (aSeconds > 0)
            FChanged.wait_for(lock, std::chrono::seconds(aSeconds), released);
        else
            FChanged.wait(lock, released);
        if (FStopping)
            return std::nullopt;
        TReplyMode mode = (aUpdate ? FUpdate : FLocation).Mode;
        return mode == TReplyMode::Stall ? TReplyMode::Normal : mode;
    }

    void Stop()
    {
        {
            std::lock_guard lock(FMutex);
            FStopping = true;
        }
        FChanged.notify_all();
    }

private:
    std::mutex FMutex;
    std::condition_variable FChanged;
    TBehaviour FUpdate;
    TBehaviour FLocation;
    bool FStopping = false;
};

class TPublisher {
public:
    TPublisher(const TPublisherConfig& aConfig, TRequestLog& aLog)
        : FConfig(aConfig), FLog(aLog), FState(aConfig)
    {
    }

    // Binds 127.0.0.1 and sets up the routes; false with a message on stderr.
    bool Bind()
    {
        FServer.new_task_queue = [] { return new httplib::ThreadPool(kWorkerThreads); };
        // An idle kept-alive connection holds its worker this long, and so delays the stop.
        FServer.set_keep_alive_timeout(2);
        // The library's default adds SO_REUSEPORT, under which a second service would share a
        // port that is in use instead of being refused.
        FServer.set_socket_options([](socket_t sock) {
            int on = 1;
            setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        });
        if (!FConfig.Root.empty() && !FServer.set_mount_point("/files", FConfig.Root)) {
            std::cerr << "publisher: no folder " << FConfig.Root << "\n";
            return false;
        }
        Route();
        bool bound = FConfig.Port == 0 ? (FPort = FServer.bind_to_any_port("127.0.0.1")) > 0
                                       : FServer.bind_to_port("127.0.0.1", FPort = FConfig.Port);
        if (!bound) {
            std::cerr << "publisher: cannot listen on 127.0.0.1:" << FConfig.Port << "\n";
            return false;
        }
        FBase = "http://127.0.0.1:" + std::to_string(FPort);
        return true;
    }

    int Port() const { return FPort; }
    bool Listen() { return FServer.listen_after_bind(); }

    // Safe from another thread; wakes stalled replies so that the workers can end.
    void Stop()
    {
        FState.Stop();
        FServer.stop();
    }

private:
    void Route()
    {
        FServer.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response&) {
            FLog.Write({std::chrono::system_clock::now(), req.method, req.target, req.remote_addr,
                req.get_header_value("Via")});
            return httplib::Server::HandlerResponse::Unhandled;
        });
        FServer.Get("/update", [this](const httplib::Request&, httplib::Response& res) { Update(res); });
        FServer.Get("/getinfo", [this](const httplib::Request&, httplib::Response& res) { Location(res); });
        FServer.Get("/touch",
            [](const httplib::Request&, httplib::Response& res) { res.set_content("OK\r\n", "text/plain"); });
        FServer.Get(R"(/flags/([^/]+))",
            [this](const httplib::Request& req, httplib::Response& res) { Flag(req.matches[1], res); });
        FServer.Get(R"(/(home|help|support|eula|privary))",
            [this](const httplib::Request& req, httplib::Response& res) { Page(req.matches[1], req, res); });
        FServer.Get("/checkip", [this](const httplib::Request& req, httplib::Response& res) {
            res.set_content(BuildCheckIpPage(FConfig, req.remote_addr, req.get_header_value("Via"),
                                req.get_header_value("X-Forwarded-For")),
                "text/html; charset=utf-8");
        });
        // Every page whose own address is blank arrives here, the page named by ACTION.
        FServer.Get("/redirect", [this](const httplib::Request& req, httplib::Response& res) {
            std::string action = req.get_param_value("ACTION");
            for (char& c : action)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (action == "update")
                Update(res);
            else
                Page(action, req, res);
        });
        FServer.Get(
            "/control", [this](const httplib::Request& req, httplib::Response& res) { Control(req, res); });
    }

    // Answers by the mode; body(mode, behaviour) is the reply of the modes that send one.
    void Answer(bool aUpdate, httplib::Response& res,
        const std::function<std::string(TReplyMode, const TBehaviour&)>& body, const char* contentType)
    {
        TBehaviour behaviour = FState.Get(aUpdate);
        TReplyMode mode = behaviour.Mode;
        if (mode == TReplyMode::Stall) {
            std::optional<TReplyMode> released = FState.WaitOutStall(aUpdate, behaviour.StallSeconds);
            if (!released) {
                res.status = 503;
                res.set_content("Stopping\r\n", "text/plain");
                return;
            }
            mode = *released;
            behaviour = FState.Get(aUpdate); // a raw body given with the release
        }
        switch (mode) {
        case TReplyMode::Empty: res.set_content("", contentType); break;
        case TReplyMode::Error:
            res.status = 500;
            res.set_content("Internal Server Error\r\n", "text/plain");
            break;
        default: res.set_content(body(mode, behaviour), contentType);
        }
    }

    void Update(httplib::Response& res)
    {
        Answer(
            true, res,
            [this](TReplyMode mode, const TBehaviour& behaviour) {
                return mode == TReplyMode::Raw
                    ? BuildRawReply(behaviour.Body)
                    : BuildUpdateReply(FConfig, FBase, mode == TReplyMode::WrongMagic);
            },
            "text/plain; charset=windows-1252");
    }

    void Location(httplib::Response& res)
    {
        Answer(
            false, res, [this](TReplyMode, const TBehaviour&) { return BuildLocationReply(FConfig); },
            "text/plain; charset=utf-8");
    }

    void Flag(const std::string& aName, httplib::Response& res)
    {
        std::optional<std::filesystem::path> file;
        if (!FConfig.Flags().empty())
            file = FindFileIgnoringCase(FConfig.Flags(), aName);
        std::ifstream stream;
        if (file)
            stream.open(*file, std::ios::binary);
        if (!stream.is_open()) {
            res.status = 404;
            res.set_content("No flag " + aName + "\r\n", "text/plain");
            return;
        }
        std::ostringstream bytes;
        bytes << stream.rdbuf();
        std::string extension = file->extension().string();
        bool png = extension.size() == 4 && std::tolower(static_cast<unsigned char>(extension[1])) == 'p' &&
            std::tolower(static_cast<unsigned char>(extension[2])) == 'n' &&
            std::tolower(static_cast<unsigned char>(extension[3])) == 'g';
        res.set_content(bytes.str(), png ? "image/png" : "application/octet-stream");
    }

    void Page(const std::string& aName, const httplib::Request& req, httplib::Response& res)
    {
        if (!IsPageName(aName)) {
            res.status = 404;
            res.set_content("No page " + aName + "\r\n", "text/plain");
            return;
        }
        size_t question = req.target.find('?');
        std::string_view query = question == std::string::npos
            ? std::string_view()
            : std::string_view(req.target).substr(question + 1);
        res.set_content(BuildPage(FConfig, aName, query), "text/html; charset=utf-8");
    }

    // /control?update=<mode>&update_stall=<seconds>&update_body=<text>&location=<mode>&
    // location_stall=<seconds>: all or nothing; the reply lists the state afterwards.
    void Control(const httplib::Request& req, httplib::Response& res)
    {
        TBehaviour update = FState.Get(true), location = FState.Get(false);
        for (const auto& [name, value] : req.params) {
            bool ok = false;
            TBehaviour& target = name.rfind("update", 0) == 0 ? update : location;
            if (name == "update" || name == "location")
                ok = ParseReplyMode(value, target.Mode) && (name == "update" || !UpdateOnly(target.Mode));
            else if (name == "update_stall" || name == "location_stall")
                ok = ParseStallSeconds(value, target.StallSeconds);
            else if (name == "update_body") {
                target.Body = value;
                ok = true;
            }
            if (!ok) {
                res.status = 400;
                res.set_content("Bad control parameter " + name + "=" + value + "\r\n", "text/plain");
                return;
            }
        }
        FState.Set(update, location);
        res.set_content("update=" + std::string(ReplyModeName(update.Mode)) +
                "\r\nupdate_stall=" + std::to_string(update.StallSeconds) +
                "\r\nlocation=" + std::string(ReplyModeName(location.Mode)) +
                "\r\nlocation_stall=" + std::to_string(location.StallSeconds) + "\r\n",
            "text/plain");
    }

    const TPublisherConfig& FConfig;
    TRequestLog& FLog;
    TServiceState FState;
    httplib::Server FServer;
    int FPort = 0;
    std::string FBase;
};

int Run(int argc, char** argv)
{
    TPublisherConfig config;
    bool help = false;
    std::string error;
    if (!ReadCommandLine(argc, argv, config, help, error)) {
        std::cerr << "publisher: " << error << "\n" << kUsage;
        return 2;
    }
    if (help) {
        std::cout << kUsage;
        return 0;
    }
    TRequestLog log;
    if (!log.Open(config.LogFile)) {
        std::cerr << "publisher: cannot open the log " << config.LogFile << "\n";
        return 1;
    }

    // SIGINT and SIGTERM are taken by one waiting thread, which stops the server from outside
    // the signal context; every other thread has them blocked.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    TPublisher publisher(config, log);
    if (!publisher.Bind())
        return 1;
    std::cout << "publisher: listening on 127.0.0.1:" << publisher.Port() << std::endl;

    std::atomic<bool> listening = true;
    std::thread stopper([&] {
        int signal = 0;
        sigwait(&stopSignals, &signal);
        // A stop before the server runs would be lost; repeat it until the listen loop ends.
        while (listening) {
            publisher.Stop();
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    });
    bool clean = publisher.Listen();
    listening = false;
    kill(getpid(), SIGTERM); // releases the stopper when the server ended by itself
    stopper.join();
    std::cout << "publisher: stopped" << std::endl;
    return clean ? 0 : 1;
}

} // namespace

} // namespace vp::publisher

int main(int argc, char** argv)
{
    return vp::publisher::Run(argc, argv);
}
