// Passport (HTTPS): login token, login, verification code string and image, registration.
#include <ctime>

#include "internal.h"

namespace tavlo::sandbox {
namespace {

const size_t kMaxRemembered = 10000;  // code strings kept at most

std::string cookie_expiry() {
  std::time_t t = std::time(nullptr) + 30L * 24 * 3600;
  std::tm tm{};
  gmtime_r(&t, &tm);
  char buf[64];
  std::strftime(buf, sizeof buf, "%a, %d-%b-%Y %H:%M:%S GMT", &tm);
  return buf;
}

std::string login_answer(const std::string& jump, const std::string& user, const std::string& codestring,
                         const std::string& error) {
  std::string url = jump + "?callback=parent.bdPass.api.login._postCallback&index=0&codestring=" + codestring +
                    "&username=" + url_encode(user) + "&phonenumber=&mail=&tpl=mn&u=&needToModifyPassword=0" +
                    "&gotourl=&auth=&error=" + error;
  return "<!DOCTYPE html>\n<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
         "</head>\n<body>\n<script type=\"text/javascript\">\n"
         "var url = encodeURI('" + url + "');\n"
         "if (window.location) { window.location.replace(url); } else { document.location.replace(url); }\n"
         "</script>\n</body>\n</html>\n";
}

// Tokens carry their own proof (a nonce and its HMAC under the state folder's secret), so
// they stay valid across restarts without being stored.
bool token_is_ours(const Sandbox::Impl& s, const std::string& token) {
  return token.size() == 32 && hmac_hex(s.secret, "token:" + token.substr(0, 16)).substr(0, 16) == token.substr(16);
}

void handle_token(Sandbox::Impl& s, const httplib::Request&, httplib::Response& res) {
  std::string token, baiduid;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    std::string nonce = s.random_hex(16);
    token = nonce + hmac_hex(s.secret, "token:" + nonce).substr(0, 16);
    baiduid = s.random_hex(32);
  }
  res.set_header("Set-Cookie", "BAIDUID=" + baiduid + ":FG=1; expires=" + cookie_expiry() + "; path=/");
  res.set_content(
      "var bdPass=bdPass||{};\n"
      "bdPass.api=bdPass.api||{};\n"
      "bdPass.api.params=bdPass.api.params||{};\n"
      "bdPass.api.params.login_token='" + token + "';\n"
      "bdPass.api.params.login_tpl='mn';\n"
      "document.write('<script type=\"text/javascript\" charset=\"UTF-8\" "
      "src=\"/js/v2/login.js\"></script>');\n",
      "text/javascript; charset=utf-8");
}

// Error codes: 0 success, 1 malformed user name, 2 unknown user, 4 wrong password,
// 6 wrong verification code, 257 code needed (flagged account or repeated failures),
// 100023 token missing or not issued by this sandbox.
void handle_login(Sandbox::Impl& s, const httplib::Request& req, httplib::Response& res) {
  auto form = parse_form(req.body, false);
  std::string raw_user = form_value(form, "username");
  std::string raw_pass = form_value(form, "password");
  std::string token = form_value(form, "token");
  std::string verifycode = form_value(form, "verifycode");
  std::string codestring = form_value(form, "codestring");
  if (codestring.rfind("captchaservice", 0) == 0) codestring = codestring.substr(14);

  std::string jump = "http://" + s.host(kPanWeb) + "/cache/user/html/jump.html";
  std::string staticpage = url_decode(form_value(form, "staticpage"), false);
  if (staticpage.rfind("http://", 0) == 0 && staticpage.size() < 300 &&
      staticpage.find_first_of("'\"<>?&\\ ") == std::string::npos)
    jump = staticpage;

  std::string code;
  std::string user = to_utf8(raw_user);
  bool set_cookies = false;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    Account* acct = nullptr;
    auto find = [&](const std::string& name) {
      auto it = s.accounts.find(name);
      return it == s.accounts.end() ? nullptr : &it->second;
    };
    acct = find(user);
    if (!acct) {
      std::string decoded = to_utf8(url_decode(raw_user, true));
      if (Account* a = find(decoded)) acct = a, user = decoded;
    }
    bool malformed = user.empty() || user.size() > 64 ||
                     user.find_first_of(std::string("\r\n\t<>'\"\\", 8)) != std::string::npos;
    int& failures = s.login_failures[user.substr(0, 64)];
    if (s.login_failures.size() > kMaxRemembered) s.login_failures.clear();
    bool need_code = (acct && acct->flagged) ||
                     (s.opt.login_failures_before_code > 0 && failures >= s.opt.login_failures_before_code);
    if (!token_is_ours(s, token)) {
      code = "100023";
    } else if (malformed) {
      code = "1";
    } else if (need_code && (codestring.empty() || !s.passport_codes.count(codestring))) {
      code = "257";
    } else if (need_code && lower_ascii(verifycode) != lower_ascii(s.passport_codes[codestring])) {
      code = "6";
    } else if (!acct) {
      ++failures;
      code = "2";
    } else if (raw_pass != acct->password && url_decode(raw_pass, true) != acct->password) {
      ++failures;
      code = "4";
    } else {
      if (need_code) s.passport_codes.erase(codestring);
      failures = 0;
      code = "0";
      set_cookies = true;
    }
  }
  if (set_cookies) {
    std::string exp = cookie_expiry();
    std::string ptoken, stoken;
    {
      std::lock_guard<std::mutex> lock(s.mu);
      ptoken = s.random_hex(32);
      stoken = s.random_hex(64);
    }
    res.set_header("Set-Cookie", "BDUSS=" + s.session_of(user) + "; expires=" + exp + "; path=/; httponly");
    res.set_header("Set-Cookie", "PTOKEN=" + ptoken + "; expires=" + exp + "; path=/; httponly");
    res.set_header("Set-Cookie", "STOKEN=" + stoken + "; expires=" + exp + "; path=/; httponly");
  }
  res.set_content(login_answer(jump, user, "", code), "text/html; charset=utf-8");
}

void handle_codestring(Sandbox::Impl& s, const httplib::Request&, httplib::Response& res) {
  std::string id;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    id = s.random_hex(8) + "a" + s.random_hex(31) + "0";
    if (s.passport_codes.size() >= kMaxRemembered) s.passport_codes.clear();
    s.passport_codes[id] = s.new_code();
  }
  res.set_content("{\"errInfo\":{\"no\": \"0\", \"msg\": \"\"}, \"data\": {\"verifyStr\" : \"captchaservice" + id +
                      "\", \"verifySign\" : \"\"}}",
                  "text/html; charset=utf-8");
}

void handle_image(Sandbox::Impl& s, const httplib::Request& req, httplib::Response& res) {
  std::string id = raw_query(req);
  if (id.rfind("captchaservice", 0) == 0) id = id.substr(14);
  std::string code;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    auto it = s.passport_codes.find(id);
    if (it != s.passport_codes.end()) code = it->second;
  }
  if (code.empty()) {
    res.status = 404;
    res.set_content("no such code string\n", "text/plain");
    return;
  }
  res.set_header("Cache-Control", "no-cache");
  res.set_content(code_png(code), "image/png");
}

std::string registration_form(const std::string& u, const std::string& message) {
  return page("注册百度帐号",
              "<h2>注册百度帐号</h2>\n" + (message.empty() ? "" : "<p class=\"err\">" + html_escape(message) + "</p>\n") +
                  "<form method=\"post\" action=\"/v2/?regsubmit\">\n"
                  "<p>用户名 <input name=\"username\" maxlength=\"32\"></p>\n"
                  "<p>密码 <input name=\"password\" type=\"password\"></p>\n"
                  "<input type=\"hidden\" name=\"u\" value=\"" + html_escape(u) + "\">\n"
                  "<p><input type=\"submit\" value=\"注册\"></p>\n</form>");
}

void handle_register_submit(Sandbox::Impl& s, const httplib::Request& req, httplib::Response& res) {
  auto form = parse_form(req.body, true);
  std::string user = to_utf8(form_value(form, "username"));
  std::string pass = form_value(form, "password");
  std::string u = form_value(form, "u");
  std::string msg;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    if (user.empty() || pass.empty())
      msg = "用户名和密码不能为空";
    else if (user.size() > 32 || user.find_first_of("<>'\"\\&;= ") != std::string::npos)
      msg = "用户名含有不允许的字符";
    else if (pass.size() < 6)
      msg = "密码至少6位";
    else if (s.accounts.count(user))
      msg = "用户名已被注册";
    else if (s.accounts.size() >= 1000)
      msg = "注册人数已满";
    if (msg.empty()) {
      Account& a = s.accounts[user];
      a.name = user;
      a.password = pass;
    }
  }
  if (!msg.empty()) {
    res.set_content(registration_form(u, msg), "text/html; charset=utf-8");
    return;
  }
  std::string back = u.rfind("http", 0) == 0 ? "<p><a href=\"" + html_escape(u) + "\">返回</a></p>" : "";
  res.set_content(page("注册成功", "<h2>注册成功</h2>\n<p>帐号 " + html_escape(user) + " 已可以登录。</p>\n" + back),
                  "text/html; charset=utf-8");
}

}  // namespace

void setup_passport(Sandbox::Impl& s, httplib::Server& srv) {
  srv.Get("/v2/api/", [&s](const httplib::Request& req, httplib::Response& res) {
    if (raw_query(req).rfind("getapi", 0) == 0) return handle_token(s, req, res);
    res.status = 400;
    res.set_content("unknown api\n", "text/plain");
  });
  srv.Post("/v2/api/", [&s](const httplib::Request& req, httplib::Response& res) {
    if (raw_query(req).rfind("login", 0) == 0) return handle_login(s, req, res);
    res.status = 400;
    res.set_content("unknown api\n", "text/plain");
  });
  srv.Get("/v2/", [&s](const httplib::Request& req, httplib::Response& res) {
    std::string q = raw_query(req);
    if (q.rfind("reggetcodestr", 0) == 0) return handle_codestring(s, req, res);
    if (q.rfind("reg", 0) == 0) {
      res.set_content(registration_form(req.get_param_value("u"), ""), "text/html; charset=utf-8");
      return;
    }
    res.status = 400;
    res.set_content("unknown page\n", "text/plain");
  });
  srv.Post("/v2/", [&s](const httplib::Request& req, httplib::Response& res) {
    if (raw_query(req).rfind("regsubmit", 0) == 0) return handle_register_submit(s, req, res);
    res.status = 400;
    res.set_content("unknown page\n", "text/plain");
  });
  srv.Get("/cgi-bin/genimage", [&s](const httplib::Request& req, httplib::Response& res) {
    handle_image(s, req, res);
  });
  srv.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("passport", "<h1>passport</h1>\n<p><a href=\"/v2/?reg&amp;regType=1&amp;tpl=mn\">注册</a></p>"),
                    "text/html; charset=utf-8");
  });
}

}  // namespace tavlo::sandbox
