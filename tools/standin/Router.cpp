#include "tools/standin/Router.h"

#include <QDate>

#include <fstream>
#include <sstream>
#include <string_view>

#include "tools/standin/Weather.h"

namespace standin {
namespace {

constexpr std::string_view kWeatherPath = "/breezeling/weather";
constexpr std::string_view kUpdatePath = "/updates/breezeling-remote.txt";
constexpr std::string_view kDownloads = "/downloads";

std::string EscapeHtml(std::string_view text) {
  std::string out;
  for (char ch : text) {
    switch (ch) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&#39;";
        break;
      default:
        out += ch;
    }
  }
  return out;
}

Response Page(std::string_view title, std::string_view bodyHtml) {
  Response r;
  r.contentType = "text/html; charset=utf-8";
  r.body = "<!DOCTYPE html>\n<html lang=\"en\">\n<head><meta charset=\"utf-8\"><title>" + EscapeHtml(title) +
           "</title></head>\n<body>\n" + std::string(bodyHtml) +
           "<hr>\n<p><a href=\"/\">Larkspire SW</a> | <a href=\"/funcrate\">Funcrate</a> | "
           "<a href=\"/sagewick\">Sagewick</a> | <a href=\"/downloads/\">Downloads</a></p>\n"
           "</body>\n</html>\n";
  return r;
}

Response HomePage() {
  return Page("Larkspire SW",
              "<h1>Larkspire SW</h1>\n"
              "<p>Small, friendly programs for your desktop, made with care in a spare room.</p>\n"
              "<ul>\n"
              "<li><b>Breezeling</b> &ndash; the week's weather for your town at a glance. "
              "<a href=\"/downloads/breezeling-1.3.0\">Download 1.3.0</a></li>\n"
              "<li><a href=\"/funcrate\">Funcrate</a> &ndash; a pocket box of everyday calculators.</li>\n"
              "<li><a href=\"/sagewick\">Sagewick</a> &ndash; quiet notes in plain text.</li>\n"
              "</ul>\n");
}

Response FuncratePage() {
  return Page("Funcrate - Larkspire SW",
              "<h1>Funcrate</h1>\n"
              "<p>A pocket box of everyday calculators: split a bill with tip, swap cups for grams, "
              "and count down to the kettle.</p>\n"
              "<p>Version 2.1. <a href=\"/downloads/funcrate-2.1\">Download</a></p>\n");
}

Response SagewickPage() {
  return Page("Sagewick - Larkspire SW",
              "<h1>Sagewick</h1>\n"
              "<p>A quiet notes app. Every note is a plain text file in a folder you choose, "
              "so your thoughts outlive the app.</p>\n"
              "<p>Version 0.9 (beta). <a href=\"/downloads/sagewick-0.9\">Download</a></p>\n");
}

Response DownloadPage(std::string_view name) {
  if (name.empty()) {
    return Page("Downloads - Larkspire SW",
                "<h1>Downloads</h1>\n<ul>\n"
                "<li><a href=\"/downloads/breezeling-1.3.0\">breezeling-1.3.0</a></li>\n"
                "<li><a href=\"/downloads/funcrate-2.1\">funcrate-2.1</a></li>\n"
                "<li><a href=\"/downloads/sagewick-0.9\">sagewick-0.9</a></li>\n</ul>\n");
  }
  const std::string escaped = EscapeHtml(name);
  return Page("Download " + std::string(name), "<h1>" + escaped +
                                                   "</h1>\n"
                                                   "<p>This is where the download of <code>" +
                                                   escaped +
                                                   "</code> would start. "
                                                   "The local stand-in has no real files to hand out.</p>\n");
}

Response UpdateFile(const Settings& settings) {
  std::ifstream in(settings.updateFile, std::ios::binary);
  if (!in) return TextResponse(404, "No update file at " + settings.updateFile);
  std::ostringstream text;
  text << in.rdbuf();
  Response r;
  r.body = text.str();
  return r;
}

Date Today(const Settings& settings) {
  if (settings.date) return *settings.date;
  const QDate today = QDate::currentDate();
  return Date{today.year(), today.month(), today.day()};
}

// "http://host:port/path" as a proxy would receive it becomes "/path".
std::string OriginForm(const std::string& target) {
  if (target.rfind("http://", 0) != 0) return target;
  const std::size_t slash = target.find('/', 7);
  return slash == std::string::npos ? "/" : target.substr(slash);
}

}  // namespace

std::string LocationParameter(const std::string& query) {
  constexpr std::string_view kName = "location=";
  if (query.rfind(kName, 0) == 0) return query.substr(kName.size());
  const std::size_t at = query.find("&location=");
  return at == std::string::npos ? std::string() : query.substr(at + 1 + kName.size());
}

Response Route(const Request& request, const Settings& settings) {
  const std::string target = OriginForm(request.target);
  const std::size_t question = target.find('?');
  const std::string path = target.substr(0, question);
  const std::string query = question == std::string::npos ? std::string() : target.substr(question + 1);

  if (auto forced = settings.statusOverrides.find(path); forced != settings.statusOverrides.end()) {
    return TextResponse(forced->second,
                        "Status " + std::to_string(forced->second) + " forced by the stand-in for " + path);
  }
  if (request.method != "GET" && request.method != "HEAD")
    return TextResponse(405, "Only GET and HEAD are served here.");

  if (path == kWeatherPath) {
    const Date day = Today(settings);
    Response r;
    r.contentType = "application/json; charset=utf-8";
    r.body = WeatherReply(LocationParameter(query), day.year, day.month, day.day);
    return r;
  }
  if (path == kUpdatePath) return UpdateFile(settings);
  if (path == "/" || path == "/index.html") return HomePage();
  if (path == "/funcrate" || path == "/funcrate/") return FuncratePage();
  if (path == "/sagewick" || path == "/sagewick/") return SagewickPage();
  if (path == kDownloads || path == std::string(kDownloads) + "/") return DownloadPage({});
  if (path.rfind(std::string(kDownloads) + "/", 0) == 0)
    return DownloadPage(std::string_view(path).substr(kDownloads.size() + 1));
  return TextResponse(404, "Not found: " + path);
}

}  // namespace standin
