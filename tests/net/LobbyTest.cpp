#include <gtest/gtest.h>

#include "StandInServer.h"
#include "net/LobbyRegistration.h"
#include "net/LobbyServerList.h"
#include "support/ScopedEnv.h"

using net_test::StandInServer;
using platform_test::ScopedEnv;

namespace {

class LobbyTest : public ::testing::Test {
protected:
    LobbySettings SettingsFor(const StandInServer& web) const {
        LobbySettings settings;
        settings.host = "127.0.0.1:" + std::to_string(web.Port());
        return settings;
    }

    ScopedEnv http_{"http_proxy", ""};
    ScopedEnv httpUpper_{"HTTP_PROXY", ""};
    ScopedEnv socks_{"socks_proxy", ""};
    ScopedEnv all_{"all_proxy", ""};
};

std::string Ok(const std::string& body) {
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// Both listed servers that take connections and are not playing answered their probes
// within the probe bound.
bool LocalServersAnsweredInTime(const LobbyServerList& list) {
    int answered = 0;
    for (const LobbyServer& server : list.Servers()) {
        const bool local = server.name == "My Game" || server.name == "Long";
        answered += local && server.ping < LobbyServerList::kNoAnswerPing ? 1 : 0;
    }
    return answered == 2;
}

}  // namespace

TEST_F(LobbyTest, TheListIsParsedProbedAndOrderedBestFirst) {
    sock::Socket game;  // the one listed server that answers
    ASSERT_TRUE(game.Listen(0, 8));
    const uint16_t probePort = game.LocalPort();

    StandInServer web([](const std::string&) {
        // 192.0.2.1 is reserved for documentation: it never answers.
        return Ok(
            "Far,192.0.2.1,7,0\r\n"
            "My Game,127.0.0.1,2,0\r\n"
            "Busy,127.0.0.1,5,1\r\n"
            "Named,lobby-host.invalid,8,0\r\n"
            "Short,1.2.3.4,2\r\n"
            "Long,127.0.0.1,3,0,extra\r\n");
    });
    LobbyServerList list(SettingsFor(web));
    list.SetProbePort(probePort);
    // An answer later than the probe bound counts as none, which a loaded machine can cause
    // even on this host: the list is fetched again until the local answers came in time.
    size_t refreshes = 0;
    do {
        list.RefreshServerList();
        ++refreshes;
    } while (!LocalServersAnsweredInTime(list) && refreshes < 20);
    ASSERT_EQ(web.Heads().size(), refreshes) << "one request a refresh";
    EXPECT_EQ(web.Heads()[0].rfind("GET /Vorns/LobbyList.php?Action=List HTTP/1.1\r\n", 0), 0u);

    const std::vector<std::string>& rows = list.Rows();
    ASSERT_EQ(rows.size(), 5u) << "the three-field line is skipped";
    const auto pingOf = [&list](const std::string& name) {
        for (const LobbyServer& server : list.Servers()) {
            if (server.name == name) return server.ping;
        }
        return -1;
    };
    const int myPing = pingOf("My Game");
    const int longPing = pingOf("Long");
    ASSERT_TRUE(LocalServersAnsweredInTime(list));
    // Not playing and answering first (lower ping first, more players first at equal ping),
    // then the unreachable and the unprobed (by players), then the one playing.
    const std::string longRow = "Long:127.0.0.1 (Yes, " + std::to_string(longPing) + ", 3/8)";
    const std::string myRow = "My Game:127.0.0.1 (Yes, " + std::to_string(myPing) + ", 2/8)";
    const bool longFirst = longPing <= myPing;
    EXPECT_EQ(rows[0], longFirst ? longRow : myRow);
    EXPECT_EQ(rows[1], longFirst ? myRow : longRow);
    EXPECT_EQ(rows[2], "Named:lobby-host.invalid (Yes, ???, 8/8)");
    EXPECT_EQ(rows[3], "Far:192.0.2.1 (Yes, ???, 7/8)");
    EXPECT_EQ(rows[4].rfind("Busy:127.0.0.1 (No, ", 0), 0u);

    EXPECT_EQ(list.PickRow(longFirst ? 1 : 0), "My_Game:127.0.0.1") << "the address is what follows the last ':'";
    EXPECT_EQ(list.PickRow(-1), "");
    EXPECT_EQ(list.PickRow(5), "");
}

TEST_F(LobbyTest, OrderingAndRowsFollowPlayingPingPlayersThenNames) {
    std::vector<LobbyServer> servers = LobbyServerList::ParseList("B,2.2.2.2,2,0\nA,1.1.1.1,2,0\nC,3.3.3.3,9,0\n");
    ASSERT_EQ(servers.size(), 3u);
    servers[0].ping = servers[1].ping = servers[2].ping = 30;
    LobbyServerList::Sort(servers);
    EXPECT_EQ(servers[0].name, "C");
    EXPECT_EQ(servers[1].name, "A");
    EXPECT_EQ(LobbyServerList::RowText(servers[1]), "A:1.1.1.1 (Yes, 30, 2/8)");
}

TEST_F(LobbyTest, OnlyAWhole200ReplyIsAList) {
    for (const std::string& reply :
         {std::string("HTTP/1.1 502 Bad Gateway\r\nContent-Length: 15\r\n\r\nerr,a,b,c,d,e,f"),
          std::string("HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n")}) {
        StandInServer web([&](const std::string&) { return reply; });
        LobbyServerList list(SettingsFor(web));
        list.RefreshServerList();
        EXPECT_TRUE(list.Rows().empty());
    }
    LobbySettings unreachable;
    unreachable.host = "127.0.0.1:1";
    LobbyServerList list(unreachable);
    list.RefreshServerList();
    EXPECT_TRUE(list.Rows().empty());
}

TEST_F(LobbyTest, RegistrationEscapesTheNameAndLooksForTheConfirmation) {
    std::string body = "<p>Updated Vorns server</p>";
    StandInServer web([&](const std::string&) { return Ok(body); });
    LobbyRegistration registration(SettingsFor(web));
    EXPECT_TRUE(registration.Update("A b&c#d\r\nX: y", 3, true));
    ASSERT_EQ(web.Heads().size(), 1u);
    EXPECT_EQ(web.Heads()[0],
              "GET /Vorns/Lobby.php?Name=A%20b%26c%23d%0D%0AX%3A%20y&Players=3&Playing=1 HTTP/1.1\r\n"
              "Host: 127.0.0.1\r\nUser-Agent: \r\n\r\n");
    body = "";
    EXPECT_FALSE(registration.Update("A", 0, false));
    EXPECT_NE(web.Heads()[1].find("Players=0&Playing=0 "), std::string::npos);

    LobbySettings unreachable;
    unreachable.host = "127.0.0.1:1";
    EXPECT_FALSE(LobbyRegistration(unreachable).Update("A", 1, false));
}
