// The embedded browser: a QWebEngineView with the few operations and events the program
// uses. All browsers share one web profile whose cookies are refreshed from the request
// engine's cookie store before every navigation, so pages see the account's cookies.
#pragma once

#include <QString>
#include <QWebEngineView>
#include <functional>
#include <string>

class QWebEngineProfile;

namespace tavlo {

class Browser : public QWebEngineView {
 public:
  explicit Browser(QWidget* parent = nullptr);

  void navigate(const QString& address);
  // "" until the first navigation.
  QString current_address() const;
  // Gives the browser its page in the shared profile (navigate does this itself).
  void ensure_page();
  // Right-clicks inside the page show nothing.
  void refuse_context_menu();

  // The status-line stream: a loading text while a document loads, "完成" when the main
  // document or one of its frames completes, and "完成" when the line returns to idle.
  std::function<void(const QString&)> on_status_text;
  // A page asks for a new window; return the browser to open it in, or nullptr to cancel.
  std::function<QWebEngineView*()> on_new_window;

  // The status text of a completed load.
  static QString done_text();

 protected:
  QWebEngineView* createWindow(QWebEnginePage::WebWindowType type) override;

 private:
  void status(const QString& text);
  bool navigated_ = false;
  bool has_page_ = false;
  QString requested_;
};

// The one web profile (created on first use, on the UI thread).
QWebEngineProfile* web_profile();
// Copies the request engine's cookie store into the web profile.
void copy_cookie_store_to_profile();
// Parses the engine's Netscape-format cookie lines; exposed for tests.
struct NetscapeCookie {
  std::string domain;  // as written, maybe with a leading "."
  bool include_subdomains = false;
  std::string path;
  bool secure = false;
  long long expires = 0;
  std::string name, value;
  bool http_only = false;
};
bool parse_netscape_cookie_line(const std::string& line, NetscapeCookie& out);
// Clears the browser's temporary files (HTTP cache and the files under the profile's cache
// folder, folders kept); cookies are kept.
void clear_temporary_internet_files();

}  // namespace tavlo
