#pragma once
// A BasicHTTP whose sixteen events are all logged as short lines, and a
// table-row runner for exchanges with the scripted loopback server.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "framework/files/FolderItem.h"
#include "framework/text/Text.h"
#include "http/BasicHTTP.h"
#include "support/Wait.h"
#include "support/net/ScriptedServer.h"

namespace httptest {

using Events = std::vector<std::string>;
using testsupport::Script;
using testsupport::ScriptedServer;

struct FixedCookies : HTTPCookieCollection {
  FixedCookies(int n, std::string t) : n(n), t(std::move(t)) {}
  int Count() const override { return n; }
  std::string HeaderText() const override { return t; }
  int n;
  std::string t;
};

struct Probe {
  BasicHTTP http;
  Events events;
  std::function<void(const std::string&)> hook;  // runs after each logged event
  std::string content;                           // the last page
  std::shared_ptr<HTTPHeaders> headers;
  bool redirectAnswer = false, authAnswer = false;
  std::string authUser, authPass;
  std::shared_ptr<HTTPCookieCollection> cookieJar;
  std::shared_ptr<HTTPCookie> cookie;  // the last one received

  Probe() {
    const auto n = [](double v) { return fw::Str(v); };
    const auto grab = [](bool g) { return g ? " grab" : ""; };
    const auto code = [](int c) { return std::to_string(c); };
    http.Cancelled = [this] { Log("cancelled"); };
    http.DataProgress = [=, this](double r, double t, double a) {
      Log("progress " + n(r) + "/" + n(t) + "/" + n(a));
    };
    http.FileReceived = [=, this](const std::string& type, auto&, bool g) { Log("file " + type + grab(g)); };
    http.GotHeaders = [=, this](int c, std::shared_ptr<HTTPHeaders> h, bool info, bool complete) {
      headers = h;
      Log("headers " + code(c) + (info ? " info" : "") + (complete ? " complete" : ""));
    };
    http.HandleRedirection = [this](const std::string& url) {
      return Log("redirect " + url), redirectAnswer;
    };
    http.OperationError = [this](const std::string& m, bool f) { Log("operror " + m + (f ? " 1" : " 0")); };
    http.PageReceived = [=, this](const std::string& type, const std::string& c, bool g) {
      content = c;
      Log("page " + type + grab(g));
    };
    http.ProgressChange = [this](const std::string& m) { Log("status " + m); };
    http.ProtocolError = [=, this](int c, std::shared_ptr<HTTPHeaders> h) {
      headers = h, Log("protocol " + code(c));
    };
    http.TCPError = [=, this](int c) { Log("tcp " + code(c)); };
    http.FileUpdated = [this](auto&, bool final) { Log(final ? "updated final" : "updated"); };
    http.NeedAuthorization = [this](std::string& u, std::string& p) {
      u = authUser, p = authPass;
      return Log("auth"), authAnswer;
    };
    http.SockConnected = [this] { Log("connected"); };
    http.CookieReceived = [this](std::shared_ptr<HTTPCookie> c, bool expired) {
      cookie = c;
      Log("cookie " + c->Data() + " " + c->Domain + c->Path + (expired ? " expired" : ""));
    };
    http.AddCookies = [this](const std::string&, const std::string&) { return cookieJar; };
    http.BadRedirection = [this](const std::string& url) { Log("badredirect " + url); };
  }

  void Log(const std::string& e) {
    events.push_back(e);
    if (hook) hook(e);
  }
  std::string Last() const { return events.empty() ? std::string() : events.back(); }
  bool Ended() const {
    for (const char* end : {"page", "file", "cancelled", "status Download Cancelled"}) {
      if (Last().rfind(end, 0) == 0) return true;
    }
    return Last().find(" complete") != std::string::npos;
  }
  // Waits for the end of the request and makes sure nothing follows it.
  bool WaitEnd() {
    const bool ended = testsupport::WaitUntil([this] { return Ended(); }, 10000);
    const std::size_t count = events.size();
    testsupport::RunEventsFor(60);
    EXPECT_EQ(events.size(), count) << "events after the end: " << Last();
    return ended;
  }
  // The log without status lines and "connected".
  Events Flow() const {
    Events out;
    for (const std::string& e : events) {
      if (e.rfind("status", 0) != 0 && e != "connected") out.push_back(e);
    }
    return out;
  }
};

// The i-th request the server received, with its own "Host" line (address
// and port) written as "Host: HOST".
inline std::string RequestOf(const ScriptedServer& server, std::size_t i = 0) {
  const auto all = server.Requests();
  const std::string request = i < all.size() ? all[i] : std::string();
  return fw::Replace(request, "\r\nHost: " + server.HostPort() + "\r\n", "\r\nHost: HOST\r\n");
}

// The request head the client writes to the local server, with extra lines.
inline std::string Head(const std::string& line, const std::string& extra = "\r\n",
                        const std::string& host = "HOST") {
  return line + " HTTP/1.1\r\nUser-Agent: BasicHTTP/1.0\r\nHost: " + host + "\r\nConnection: close\r\n" +
         extra;
}

// Waits for the request, sends the bytes, closes.
inline Script Raw(const std::string& bytes) { return Script().WaitForRequest().Send(bytes).Close(); }

inline fw::FolderItem Temp(const std::string& name, std::optional<std::string> content = std::nullopt) {
  const fw::FolderItem f = *fw::TemporaryFolder().Child(name);
  if (content) f.CreateTextFile()->Write(*content);
  return f;
}

inline std::string ReadFile(const fw::FolderItem& f) {
  auto in = f.OpenAsTextFile();
  return in ? in->ReadAll() : std::string("<missing>");
}

using Step = std::function<void(Probe&, ScriptedServer&)>;

// One exchange with the server: the scripts it plays, how the request
// starts (a plain Get of "/" when none), the expected Flow() and page.
struct Exchange {
  std::string name;
  std::vector<Script> scripts;
  Events flow;
  std::optional<std::string> content = std::nullopt;
  Step start = nullptr;
  Step check = nullptr;
};

inline void RunTable(const std::vector<Exchange>& table) {
  for (const Exchange& x : table) {
    SCOPED_TRACE(x.name);
    ScriptedServer server;
    for (const Script& s : x.scripts) server.Enqueue(s);
    Probe p;
    x.start ? x.start(p, server) : p.http.Get(server.Url("/"));
    EXPECT_TRUE(p.WaitEnd());
    // The server's own address and port read "HOST" in the expected flow.
    Events flow = p.Flow();
    for (std::string& e : flow) e = fw::ReplaceAll(e, server.HostPort(), "HOST");
    EXPECT_EQ(flow, x.flow);
    EXPECT_EQ(p.content, x.content.value_or(p.content));
    if (x.check) x.check(p, server);
  }
}

// Checks the bytes of the first request.
inline Step Sent(std::string bytes) {
  return [bytes](Probe&, ScriptedServer& s) { EXPECT_EQ(RequestOf(s), bytes); };
}
inline Step Both(Step a, Step b) {
  return [=](Probe& p, ScriptedServer& s) { a(p, s), b(p, s); };
}
// Checks the bytes of a file.
inline Step Holds(std::string name, std::string bytes) {
  return [=](Probe&, ScriptedServer&) { EXPECT_EQ(ReadFile(Temp(name)), bytes); };
}

}  // namespace httptest
