#include <gtest/gtest.h>

#include "StandInServer.h"
#include "net/HTTP_Handler.h"
#include "net/StringDataConsumer.h"
#include "net/Webfetch.h"
#include "support/ScopedEnv.h"

using net_test::StandInServer;
using platform_test::ScopedEnv;

namespace {

// No proxy from the machine running the tests.
class WebfetchTest : public ::testing::Test {
protected:
    ScopedEnv http_{"http_proxy", ""};
    ScopedEnv httpUpper_{"HTTP_PROXY", ""};
    ScopedEnv socks_{"socks_proxy", ""};
    ScopedEnv all_{"all_proxy", ""};

    struct Outcome {
        int result;
        int status;
        std::string body;
    };

    static Outcome Fetch(const std::string& url, const std::string& proxy = {}, int timeout = 5, size_t maxBody = 0) {
        Webfetch fetch(proxy);
        StringDataConsumer body;
        fetch.SetUserAgent("");
        fetch.SetDataConsumer(&body);
        fetch.SetTimeout(timeout);
        if (maxBody > 0) fetch.SetMaxBody(maxBody);
        fetch.Open(static_cast<int>(HttpMethod::Get), url);
        return {fetch.Result(), fetch.HttpStatus(), body.Text()};
    }

    static std::string Local(const StandInServer& server, const std::string& path) {
        return "http://127.0.0.1:" + std::to_string(server.Port()) + path;
    }
};

}  // namespace

TEST_F(WebfetchTest, SendsTheBareRequestHeadAndReadsALengthDelimitedBody) {
    StandInServer server([](const std::string&) { return "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\nhelloEXTRA"; });
    const Outcome outcome = Fetch(Local(server, "/Vorns/LobbyList.php?Action=List"));
    EXPECT_EQ(outcome.result, 0);
    EXPECT_EQ(outcome.status, 200);
    EXPECT_EQ(outcome.body, "hello");
    ASSERT_EQ(server.Heads().size(), 1u);
    EXPECT_EQ(server.Heads()[0],
              "GET /Vorns/LobbyList.php?Action=List HTTP/1.1\r\nHost: 127.0.0.1\r\nUser-Agent: \r\n\r\n");
}

TEST_F(WebfetchTest, ReplyFormsEndWhereTheyShould) {
    struct Case {
        const char* name;
        std::string reply;
        int keepOpenMs;
        std::string body;
    };
    const std::vector<Case> cases = {
        // An empty body, not "read until the close": the server holds the line open.
        {"zero length", "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n", 3000, ""},
        {"chunked, LF-only lines", "HTTP/1.1 200 OK\nTransfer-Encoding: chunked\n\n5\nhello\n3;ext=1\n, y\n0\n\n", 3000,
         "hello, y"},
        {"chunked, CR LF lines", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", 3000,
         "hello"},
        {"continue, then the reply", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok",
         3000, "ok"},
        {"no length: up to the close", "HTTP/1.0 200 OK\r\n\r\nall of it", 0, "all of it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StandInServer server([&](const std::string&) { return c.reply; });
        server.SetKeepOpenMs(c.keepOpenMs);
        const auto start = std::chrono::steady_clock::now();
        const Outcome outcome = Fetch(Local(server, "/"), {}, 2);
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.status, 200);
        EXPECT_EQ(outcome.body, c.body);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << "did not wait for the close";
    }
}

TEST_F(WebfetchTest, CutSilentAndOversizedRepliesEndWithoutABody) {
    {
        StandInServer server([](const std::string&) { return "HTTP/1.1 200 OK\r\nContent-Le"; });
        const Outcome outcome = Fetch(Local(server, "/"));
        EXPECT_EQ(outcome.result, 0) << "closed in the middle of the header block: a reply without a body";
        EXPECT_EQ(outcome.body, "");
    }
    {
        StandInServer server([](const std::string&) { return ""; });
        server.SetSilent(true);
        server.SetKeepOpenMs(3000);
        EXPECT_EQ(Fetch(Local(server, "/"), {}, 1).result, 99) << "a silent server times out";
    }
    {
        StandInServer server([](const std::string&) { return "HTTP/1.1 200 OK\r\n\r\n" + std::string(5000, 'x'); });
        const Outcome outcome = Fetch(Local(server, "/"), {}, 5, 1000);
        EXPECT_EQ(outcome.result, 99);
        EXPECT_EQ(outcome.body.size(), 1000u);
    }
    {
        StandInServer server([](const std::string&) {
            return "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nFFFFFFFFFFFFFFFFFFFF\r\nx";
        });
        EXPECT_EQ(Fetch(Local(server, "/")).result, 99) << "a chunk size over the limit";
    }
}

TEST_F(WebfetchTest, RefusesUrlsItCannotSendWithoutConnecting) {
    StandInServer server([](const std::string&) { return "HTTP/1.1 200 OK\r\n\r\n"; });
    const std::string port = std::to_string(server.Port());
    EXPECT_EQ(Fetch("no scheme here").result, 2);
    EXPECT_EQ(Fetch("ftp://127.0.0.1:" + port + "/").result, 2);
    EXPECT_EQ(Fetch("http://127.0.0.1:99999/").result, 2);
    EXPECT_EQ(Fetch("http://127.0.0.1:" + port + "/a b\r\nX-Injected: 1").result, 2);
    EXPECT_EQ(Fetch("http://" + std::string(300, 'h') + "/").result, 3);
    EXPECT_TRUE(server.Heads().empty());
}

TEST_F(WebfetchTest, ProxyTextsSetTheProxiesAndBadPortsTurnThemOff) {
    SocksProxyData socks;
    HTTPProxyData http;
    ProxyData::ApplyServerText("http://cache.example:3128", socks, http);
    EXPECT_EQ(http.Host(), "cache.example");
    EXPECT_EQ(http.Port(), 3128);
    EXPECT_FALSE(socks.Enabled());

    ProxyData::ApplyServerText("ftp=x:1;http=web;socks=sox", socks, http);
    EXPECT_EQ(http.Port(), 80);
    EXPECT_EQ(socks.Host(), "sox");
    EXPECT_EQ(socks.Port(), 1080);

    for (const char* bad : {"web:0", "web:65536", "web:80x", "web:"}) {
        http.Set(bad);
        EXPECT_FALSE(http.Enabled()) << bad;
    }

    // The options' text wins over the environment, which falls back from HTTP to SOCKS4.
    SocksProxyData s1;
    HTTPProxyData h1;
    ScopedEnv socksEnv("socks_proxy", "socks4://sox:1081");
    ProxyData::ReadSystemProxy("", s1, h1);
    EXPECT_EQ(s1.Host(), "sox");
    EXPECT_EQ(s1.Port(), 1081);
    EXPECT_FALSE(h1.Enabled());
    {
        ScopedEnv httpEnv("http_proxy", "http://user@cache:8080/");
        HTTPProxyData h2;
        SocksProxyData s2;
        ProxyData::ReadSystemProxy("", s2, h2);
        EXPECT_EQ(h2.Host(), "cache");
        EXPECT_EQ(h2.Port(), 8080);
        EXPECT_FALSE(s2.Enabled());
        HTTPProxyData h3;
        SocksProxyData s3;
        ProxyData::ReadSystemProxy("opt:1", s3, h3);
        EXPECT_EQ(h3.Host(), "opt");
    }
    ScopedEnv socks5("socks_proxy", "socks5://sox:1081");
    SocksProxyData s4;
    HTTPProxyData h4;
    ProxyData::ReadSystemProxy("", s4, h4);
    EXPECT_FALSE(s4.Enabled()) << "only SOCKS version 4 is spoken";
}

TEST_F(WebfetchTest, AnHttpProxyGetsTheAbsoluteTarget) {
    StandInServer proxy([](const std::string&) { return "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"; });
    // The target's name is the proxy's to resolve.
    const Outcome outcome = Fetch("http://lobby.test/Vorns/Lobby.php?x", "127.0.0.1:" + std::to_string(proxy.Port()));
    EXPECT_EQ(outcome.body, "ok");
    ASSERT_EQ(proxy.Heads().size(), 1u);
    EXPECT_EQ(proxy.Heads()[0],
              "GET http://lobby.test:80/Vorns/Lobby.php?x HTTP/1.1\r\nHost: lobby.test\r\nUser-Agent: \r\n\r\n");
}

TEST_F(WebfetchTest, ASocksProxyCarriesTheConnectionOnlyWhenItGrantsIt) {
    for (int socksResult : {90, 91, 0}) {
        SCOPED_TRACE(socksResult);
        StandInServer proxy([](const std::string&) { return "HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok"; });
        proxy.SetSocksResult(socksResult);
        const std::string socks = "socks=127.0.0.1:" + std::to_string(proxy.Port());
        // The HTTP proxy named beside it is never contacted, but the head keeps its form.
        const Outcome outcome = Fetch("http://127.0.0.1:4321/list", socks + ";http=127.0.0.1:9");
        const std::vector<uint8_t> request = proxy.SocksRequest();
        ASSERT_GE(request.size(), 9u);
        EXPECT_EQ(std::vector<uint8_t>(request.begin(), request.begin() + 8),
                  (std::vector<uint8_t>{4, 1, 4321 >> 8, 4321 & 0xFF, 127, 0, 0, 1}));
        EXPECT_EQ(request.back(), 0);
        if (socksResult != 90) {
            EXPECT_EQ(outcome.result, 99) << "a refusal is never success, not even result 0";
            continue;
        }
        EXPECT_EQ(outcome.result, 0);
        EXPECT_EQ(outcome.body, "ok");
        ASSERT_EQ(proxy.Heads().size(), 1u);
        EXPECT_EQ(proxy.Heads()[0].rfind("GET http://127.0.0.1:4321/list HTTP/1.1\r\n", 0), 0u);
    }
}
