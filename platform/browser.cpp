#include "browser.h"

#include <QCoreApplication>
#include <algorithm>
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QNetworkCookie>
#include <QPointer>
#include <QStandardPaths>
#include <QWebEngineCookieStore>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <sstream>

#include "http_request.h"

namespace tavlo {

namespace {
constexpr int MAX_FRAMES_REPORTED = 32;
}

QWebEngineProfile* web_profile() {
  static QPointer<QWebEngineProfile> profile;
  if (!profile) {
    // A disk cache that can be cleared like the temporary Internet files; cookies are not
    // kept by the profile: the engine's store is the one that persists.
    auto* p = new QWebEngineProfile(QStringLiteral("tavlo"), QCoreApplication::instance());
    p->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    p->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    p->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    p->settings()->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    profile = p;
  }
  return profile;
}

bool parse_netscape_cookie_line(const std::string& raw, NetscapeCookie& out) {
  std::string line = raw;
  while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
  out = NetscapeCookie{};
  static const std::string http_only = "#HttpOnly_";
  if (line.compare(0, http_only.size(), http_only) == 0) {
    out.http_only = true;
    line.erase(0, http_only.size());
  } else if (line.empty() || line[0] == '#') {
    return false;
  }
  std::vector<std::string> f;
  std::string::size_type at = 0;
  while (f.size() < 6) {
    auto tab = line.find('\t', at);
    if (tab == std::string::npos) return false;
    f.push_back(line.substr(at, tab - at));
    at = tab + 1;
  }
  f.push_back(line.substr(at));  // the value may be empty and may hold anything but a tab
  if (f[0].empty() || f[5].empty()) return false;
  out.domain = f[0];
  out.include_subdomains = f[1] == "TRUE";
  out.path = f[2].empty() ? "/" : f[2];
  out.secure = f[3] == "TRUE";
  try {
    out.expires = std::stoll(f[4]);
  } catch (...) {
    out.expires = 0;
  }
  out.name = f[5];
  out.value = f[6];
  return true;
}

void copy_cookie_store_to_profile() {
  QWebEngineCookieStore* store = web_profile()->cookieStore();
  std::istringstream lines(cookie_store_dump());
  std::string line;
  while (std::getline(lines, line)) {
    NetscapeCookie c;
    if (!parse_netscape_cookie_line(line, c)) continue;
    QNetworkCookie q(QByteArray::fromStdString(c.name), QByteArray::fromStdString(c.value));
    std::string host = c.domain;
    if (!host.empty() && host[0] == '.') host.erase(0, 1);
    // A host-only cookie gets no domain attribute; the origin alone names its host.
    if (c.include_subdomains) q.setDomain(QString::fromStdString("." + host));
    q.setPath(QString::fromStdString(c.path));
    q.setSecure(c.secure);
    q.setHttpOnly(c.http_only);
    if (c.expires > 0) q.setExpirationDate(QDateTime::fromSecsSinceEpoch(c.expires));
    QUrl origin(QString::fromStdString((c.secure ? "https://" : "http://") + host + "/"));
    store->setCookie(q, origin);
  }
}

void clear_temporary_internet_files() {
  // The files are removed directly. clearHttpCache() runs asynchronously and, racing the
  // navigation a direct play starts right after it, sometimes lost that navigation.
  QWebEngineProfile* p = web_profile();
  const QString cache = p->cachePath();
  if (cache.isEmpty()) return;
  QDirIterator it(cache, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
  while (it.hasNext()) QFile::remove(it.next());
}

QString Browser::done_text() { return QString::fromUtf8("完成"); }

Browser::Browser(QWidget* parent) : QWebEngineView(parent) {
  connect(this, &QWebEngineView::loadStarted, this, [this] {
    status(QString::fromUtf8("正在打开网页 ") + url().toString() + QStringLiteral("..."));
  });
  connect(this, &QWebEngineView::loadFinished, this, [this](bool) {
    // Each frame reports its own completion before the document does.
    QPointer<Browser> self(this);
    page()->runJavaScript(
        QStringLiteral("window.frames.length"), QWebEngineScript::ApplicationWorld,
        [self](const QVariant& v) {
          if (!self) return;
          int frames = std::clamp(v.toInt(), 0, MAX_FRAMES_REPORTED);
          for (int i = 0; i < frames; ++i) self->status(done_text());
          self->status(done_text());
        });
  });
}

void Browser::ensure_page() {
  // The page (and its share of the engine) is made on first use, not with the window.
  if (has_page_) return;
  has_page_ = true;
  setPage(new QWebEnginePage(web_profile(), this));
  connect(page(), &QWebEnginePage::linkHovered, this, [this](const QString& link) {
    status(link.isEmpty() ? done_text() : link);
  });
}

void Browser::status(const QString& text) {
  if (on_status_text) on_status_text(text);
}

void Browser::navigate(const QString& address) {
  ensure_page();
  copy_cookie_store_to_profile();
  navigated_ = true;
  requested_ = address;
  setUrl(QUrl(address));
}

QString Browser::current_address() const {
  if (!navigated_) return {};
  const QString now = url().toString();
  return now.isEmpty() ? requested_ : now;
}

void Browser::refuse_context_menu() { setContextMenuPolicy(Qt::NoContextMenu); }

QWebEngineView* Browser::createWindow(QWebEnginePage::WebWindowType) {
  if (!on_new_window) return nullptr;
  QWebEngineView* view = on_new_window();
  // The pop-up's page must live in the opener's profile.
  if (auto* b = dynamic_cast<Browser*>(view)) b->ensure_page();
  return view;
}

}  // namespace tavlo
