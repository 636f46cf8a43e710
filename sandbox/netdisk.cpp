// Cloud storage (HTTP): offline downloads, category list, file manager, web player page,
// and the offline service's verification images (on their own host).
#include <algorithm>
#include <ctime>

#include "internal.h"

namespace tavlo::sandbox {
namespace {

const size_t kMaxTasks = 1000;  // per account; older finished tasks are forgotten beyond it

std::string request_id(Sandbox::Impl& s) { return std::to_string(100000000000LL + static_cast<long long>(s.rng() % 899999999999LL)); }

std::string error_json(Sandbox::Impl& s, int code, const std::string& msg, const std::string& extra = "") {
  return "{\"error_code\":" + std::to_string(code) + ",\"error_msg\":\"" + msg + "\"," + extra + "\"request_id\":" +
         request_id(s) + "}";
}

bool is_hex40(std::string_view h) {
  return h.size() == 40 && std::all_of(h.begin(), h.end(), [](char c) { return isxdigit(static_cast<unsigned char>(c)); });
}

bool is_base32_32(std::string_view h) {
  return h.size() == 32 && std::all_of(h.begin(), h.end(), [](char c) {
           return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '2' && c <= '7');
         });
}

// The info-hash of a magnet link, "" when the link is not a magnet we can read.
std::string magnet_hash(const std::string& link, std::string* dn) {
  std::string l = lower_ascii(link);
  if (l.rfind("magnet:?", 0) != 0) return "";
  size_t p = l.find("xt=urn:btih:");
  if (p == std::string::npos) return "";
  size_t start = p + 12;
  size_t end = link.find('&', start);
  std::string h = link.substr(start, end == std::string::npos ? std::string::npos : end - start);
  if (!is_hex40(h) && !is_base32_32(h)) return "";
  size_t d = l.find("&dn=");
  if (d == std::string::npos && l.rfind("dn=", 8) == 8) d = 5;  // "magnet:?dn=..."
  if (d != std::string::npos) {
    size_t ds = link.find('=', d) + 1;
    size_t de = link.find('&', ds);
    *dn = url_decode(link.substr(ds, de == std::string::npos ? std::string::npos : de - ds), true);
  }
  return h;
}

bool is_video(const std::string& path) {
  static const char* exts[] = {".mkv", ".mp4", ".avi", ".rmvb", ".rm", ".wmv", ".flv", ".ts", ".mov", ".3gp"};
  std::string l = lower_ascii(path);
  for (const char* e : exts) {
    size_t n = strlen(e);
    if (l.size() > n && l.compare(l.size() - n, n, e) == 0) return true;
  }
  return false;
}

bool is_document(const std::string& path) {
  static const char* exts[] = {".txt", ".doc", ".docx", ".pdf", ".xls", ".ppt"};
  std::string l = lower_ascii(path);
  for (const char* e : exts) {
    size_t n = strlen(e);
    if (l.size() > n && l.compare(l.size() - n, n, e) == 0) return true;
  }
  return false;
}

std::string base_name(const std::string& path) {
  size_t s = path.rfind('/');
  return s == std::string::npos ? path : path.substr(s + 1);
}

std::string method_of(const httplib::Request& req, const std::multimap<std::string, std::string>& form) {
  std::string m = form_value(form, "method");
  return m.empty() ? req.get_param_value("method") : m;
}

void add_task(Sandbox::Impl& s, Account& a, const std::multimap<std::string, std::string>& form,
              httplib::Response& res) {
  std::string link = form_value(form, "source_url");
  std::string save = to_utf8(form_value(form, "save_path"));
  if (save.empty() || save[0] != '/') save = "/" + save;
  while (save.size() > 1 && save.back() == '/') save.pop_back();
  std::string dn;
  std::string hash = magnet_hash(link, &dn);
  if (hash.empty()) {
    res.set_content(error_json(s, 36031, "magnet cannot parse"), "text/html; charset=utf-8");
    return;
  }
  // Verification code: demanded on every vcode_every-th submission, then checked.
  if (!a.vcode_id.empty()) {
    std::string input = form_value(form, "input"), vcode = form_value(form, "vcode");
    if (vcode != a.vcode_id || input.empty() || lower_ascii(input) != lower_ascii(a.vcode_code)) {
      a.vcode_id = s.random_hex(48);
      a.vcode_code = s.new_code();
    } else {
      a.vcode_id.clear();
      a.vcode_code.clear();
    }
  } else if (s.opt.vcode_every > 0 && ++a.add_count % s.opt.vcode_every == 0) {
    a.vcode_id = s.random_hex(48);
    a.vcode_code = s.new_code();
  }
  if (!a.vcode_id.empty()) {
    std::string img = "http:\\/\\/" + s.host(kNetdiskCaptcha) + "\\/genimage?" + a.vcode_id;
    res.set_content(error_json(s, -19, "vcode is needed", "\"vcode\":\"" + a.vcode_id + "\",\"img\":\"" + img + "\","),
                    "text/html; charset=utf-8");
    return;
  }
  int quota = a.quota >= 0 ? a.quota : s.opt.quota;
  if (!a.vip && static_cast<int>(a.tasks.size()) >= quota) {
    res.set_content(error_json(s, 36018, "user is not vip and exceed quota"), "text/html; charset=utf-8");
    return;
  }
  int running = static_cast<int>(std::count_if(a.tasks.begin(), a.tasks.end(), [](const Task& t) { return t.status == "1"; }));
  if (a.vip && running >= s.opt.concurrency) {
    res.set_content(error_json(s, 36013, "user is vip and exceed concurrency"), "text/html; charset=utf-8");
    return;
  }
  Task t;
  t.id = std::to_string(++s.next_task_id);
  t.source_url = link;
  t.save_path = save;
  t.created = now_seconds();
  std::string upper = hash;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  t.fails = upper == std::string(40, '0');
  if (const Title* title = title_by_hash(hash)) {
    t.name = title->name;
    t.size = title->bytes;
  } else {
    std::string name = to_utf8(dn);
    name.erase(std::remove_if(name.begin(), name.end(), [](char c) { return c == '/' || static_cast<unsigned char>(c) < 0x20; }),
               name.end());
    t.name = name.empty() ? upper : name.substr(0, 200);
    t.size = 700LL * 1024 * 1024 + static_cast<long long>(s.rng() % (3500LL * 1024 * 1024));
  }
  if (a.tasks.size() >= kMaxTasks) {
    auto old = std::find_if(a.tasks.begin(), a.tasks.end(), [](const Task& x) { return x.status != "1"; });
    a.tasks.erase(old != a.tasks.end() ? old : a.tasks.begin());
  }
  a.tasks.push_back(t);
  res.set_content("{\"rapid_download\":0,\"task_id\":" + t.id + ",\"request_id\":" + request_id(s) + "}",
                  "text/html; charset=utf-8");
}

void list_task(Sandbox::Impl& s, Account& a, const std::multimap<std::string, std::string>& form, httplib::Response& res) {
  long start = std::max(0L, std::atol(form_value(form, "start").c_str()));
  std::string lim = form_value(form, "limit");
  long limit = lim.empty() ? 10 : std::clamp(std::atol(lim.c_str()), 0L, 1000L);
  std::string status = form_value(form, "status");
  bool asc = form_value(form, "asc") == "1";
  std::vector<const Task*> tasks;
  for (const Task& t : a.tasks)
    if (status.empty() || status == "255" || status == t.status) tasks.push_back(&t);
  if (!asc) std::reverse(tasks.begin(), tasks.end());
  std::string items;
  long n = 0;
  for (long i = start; i < static_cast<long>(tasks.size()) && n < limit; ++i, ++n) {
    const Task& t = *tasks[i];
    if (!items.empty()) items += ",";
    items += "{\"task_id\":\"" + t.id + "\",\"od_type\":\"2\",\"source_url\":\"" + json_escape(t.source_url) +
             "\",\"save_path\":\"" + json_escape(t.save_path) + "\",\"rate_limit\":\"0\",\"timeout\":\"0\","
             "\"callback\":\"\",\"status\":\"" + t.status + "\",\"create_time\":\"" +
             std::to_string(static_cast<long long>(std::time(nullptr) - (now_seconds() - t.created))) +
             "\",\"task_name\":\"" + json_escape(t.name) + "\"}";
  }
  res.set_content("{\"task_info\":[" + items + "],\"total\":" + std::to_string(tasks.size()) + ",\"request_id\":" +
                      request_id(s) + "}",
                  "text/html; charset=utf-8");
}

void cloud_dl(Sandbox::Impl& s, const httplib::Request& req, httplib::Response& res) {
  auto form = parse_form(req.body, true);
  std::string method = method_of(req, form);
  std::lock_guard<std::mutex> lock(s.mu);
  Account* a = s.account_of(req);
  if (!a) {
    res.set_content(error_json(s, -6, "no permission"), "text/html; charset=utf-8");
    return;
  }
  if (method == "add_task") return add_task(s, *a, form, res);
  if (method == "list_task") return list_task(s, *a, form, res);
  if (method == "cancel_task" || method == "delete_task") {
    std::string id = form_value(form, "task_id");
    auto it = std::find_if(a->tasks.begin(), a->tasks.end(), [&](const Task& t) { return t.id == id; });
    if (it == a->tasks.end()) {
      res.set_content(error_json(s, 36016, "task not found"), "text/html; charset=utf-8");
      return;
    }
    if (method == "cancel_task") {
      if (it->status == "1") it->status = "7";
    } else {
      a->tasks.erase(it);
    }
    res.set_content("{\"request_id\":" + request_id(s) + "}", "text/html; charset=utf-8");
    return;
  }
  res.set_content(error_json(s, 2, "method not supported"), "text/html; charset=utf-8");
}

void category_list(Sandbox::Impl& s, const httplib::Request& req, httplib::Response& res) {
  int category = std::atoi(req.get_param_value("category").c_str());
  long page = std::max(1L, std::atol(req.get_param_value("page").c_str()));
  std::string num_s = req.get_param_value("num");
  long num = num_s.empty() ? 100 : std::clamp(std::atol(num_s.c_str()), 1L, 1000L);
  std::lock_guard<std::mutex> lock(s.mu);
  Account* a = s.account_of(req);
  if (!a) {
    res.set_content("{\"errno\":-6,\"request_id\":" + request_id(s) + "}", "text/html; charset=utf-8");
    return;
  }
  std::vector<const CloudFile*> files;
  for (const CloudFile& f : a->files)
    if (!f.isdir && ((category == 1 && is_video(f.path)) || (category == 4 && is_document(f.path))))
      files.push_back(&f);
  std::string items;
  for (long i = (page - 1) * num, n = 0; i < static_cast<long>(files.size()) && n < num; ++i, ++n) {
    const CloudFile& f = *files[i];
    std::string t = std::to_string(f.mtime);
    if (!items.empty()) items += ",";
    items += "{\"fs_id\":" + std::to_string(f.fs_id) + ",\"size\":" + std::to_string(f.size) + ",\"category\":" +
             std::to_string(category) + ",\"isdir\":0,\"local_ctime\":" + t + ",\"local_mtime\":" + t +
             ",\"server_ctime\":" + t + ",\"server_mtime\":" + t + ",\"md5\":\"" + f.md5 + "\",\"path\":\"" +
             json_escape(f.path) + "\",\"server_filename\":\"" + json_escape(base_name(f.path)) + "\"}";
  }
  res.set_content("{\"errno\":0,\"info\":[" + items + "],\"request_id\":" + request_id(s) + "}",
                  "text/html; charset=utf-8");
}

// filelist=["path", ...]; paths percent-encoded or not.
std::vector<std::string> parse_filelist(std::string raw) {
  if (raw.rfind("%5B", 0) == 0 || raw.rfind("%5b", 0) == 0) raw = url_decode(raw, true);
  std::vector<std::string> out;
  size_t pos = 0;
  while (out.size() < 1000) {
    size_t q1 = raw.find('"', pos);
    if (q1 == std::string::npos) break;
    size_t q2 = raw.find('"', q1 + 1);
    if (q2 == std::string::npos) break;
    out.push_back(url_decode(raw.substr(q1 + 1, q2 - q1 - 1), false));
    pos = q2 + 1;
  }
  return out;
}

void file_manager(Sandbox::Impl& s, const httplib::Request& req, httplib::Response& res) {
  auto form = parse_form(req.body, false);
  std::string opera = req.get_param_value("opera");
  std::lock_guard<std::mutex> lock(s.mu);
  Account* a = s.account_of(req);
  if (!a) {
    res.set_content("{\"errno\":-6,\"request_id\":" + request_id(s) + "}", "text/html; charset=utf-8");
    return;
  }
  if (opera != "delete") {
    res.set_content("{\"errno\":2,\"request_id\":" + request_id(s) + "}", "text/html; charset=utf-8");
    return;
  }
  std::string info;
  int errors = 0;
  for (const std::string& p : parse_filelist(form_value(form, "filelist"))) {
    std::string path = to_utf8(p);
    size_t before = a->files.size();
    if (path.size() > 1 && path != "/")
      a->files.erase(std::remove_if(a->files.begin(), a->files.end(),
                                    [&](const CloudFile& f) {
                                      return f.path == path || f.path.rfind(path + "/", 0) == 0;
                                    }),
                     a->files.end());
    bool gone = a->files.size() != before;
    errors += gone ? 0 : 1;
    if (!info.empty()) info += ",";
    info += "{\"errno\":" + std::string(gone ? "0" : "-9") + ",\"path\":\"" + json_escape(path) + "\"}";
  }
  res.set_content("{\"errno\":" + std::string(errors ? "12" : "0") + ",\"info\":[" + info + "],\"request_id\":" +
                      request_id(s) + ",\"taskid\":0}",
                  "text/html; charset=utf-8");
}

void player_page(Sandbox::Impl& s, const httplib::Request& req, httplib::Response& res) {
  std::string path = req.get_param_value("path"), md5 = req.get_param_value("md5");
  std::string body;
  long long size = -1;
  bool logged_in = false;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    if (Account* a = s.account_of(req)) {
      logged_in = true;
      for (const CloudFile& f : a->files)
        if (!f.isdir && f.path == path && (md5.empty() || f.md5 == md5)) size = f.size;
    }
  }
  if (!logged_in) {
    res.set_content(page("百度网盘", "<div class=\"msg\">请先登录百度帐号</div>"), "text/html; charset=utf-8");
    return;
  }
  if (size < 0) {
    res.status = 404;
    res.set_content(page("百度网盘", "<div class=\"msg\">文件不存在或已被删除</div>"), "text/html; charset=utf-8");
    return;
  }
  std::string name = html_escape(base_name(path));
  std::string style =
      "<style>body{margin:0;background:#111;color:#ddd;font-family:sans-serif}"
      "#screen{height:300px;display:flex;align-items:center;justify-content:center;"
      "background:linear-gradient(135deg,#203040,#101820);font-size:18px}"
      "#bar{height:6px;background:#333}#done{height:6px;width:0;background:#2a8ae2}"
      "#info{padding:6px 10px;font-size:13px}</style>\n";
  body = "<div id=\"screen\"><span id=\"title\">" + name + "</span></div>\n"
         "<div id=\"bar\"><div id=\"done\"></div></div>\n"
         "<div id=\"info\"><span id=\"state\">正在播放</span> <span id=\"clock\">00:00:00</span> / 01:45:00"
         " &nbsp; " + std::to_string(size) + " 字节 &nbsp; md5 " + html_escape(md5) + "</div>\n"
         "<script>var t=0;function tick(){t++;var h=Math.floor(t/3600),m=Math.floor(t/60)%60,s=t%60;"
         "function p(x){return (x<10?'0':'')+x;}document.getElementById('clock').innerHTML=p(h)+':'+p(m)+':'+p(s);"
         "document.getElementById('done').style.width=(100*t/6300)+'%';}setInterval(tick,1000);</script>";
  res.set_content(page(name + " - 百度网盘", body, style), "text/html; charset=utf-8");
}

}  // namespace

void setup_netdisk(Sandbox::Impl& s, httplib::Server& srv) {
  auto dl = [&s](const httplib::Request& req, httplib::Response& res) { cloud_dl(s, req, res); };
  srv.Post("/rest/2.0/services/cloud_dl", dl);
  srv.Get("/rest/2.0/services/cloud_dl", dl);
  srv.Get("/api/categorylist", [&s](const httplib::Request& req, httplib::Response& res) { category_list(s, req, res); });
  srv.Post("/api/filemanager", [&s](const httplib::Request& req, httplib::Response& res) { file_manager(s, req, res); });
  srv.Get("/res/static/thirdparty/guanjia/guanjia_play.html",
          [&s](const httplib::Request& req, httplib::Response& res) { player_page(s, req, res); });
  srv.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("百度网盘", "<h1>百度网盘</h1>"), "text/html; charset=utf-8");
  });
}

void setup_netdisk_captcha(Sandbox::Impl& s, httplib::Server& srv) {
  srv.Get("/genimage", [&s](const httplib::Request& req, httplib::Response& res) {
    std::string id = raw_query(req), code;
    {
      std::lock_guard<std::mutex> lock(s.mu);
      for (auto& [name, a] : s.accounts)
        if (!id.empty() && a.vcode_id == id) code = a.vcode_code;
    }
    if (code.empty()) {
      res.status = 404;
      res.set_content("no such code\n", "text/plain");
      return;
    }
    res.set_header("Cache-Control", "no-cache");
    res.set_content(code_png(code), "image/png");
  });
}

}  // namespace tavlo::sandbox
