// Five torrent-search sites, each with its own page layout, page size, result order and
// pager. Results come from the built-in catalogue; a site shows its "more" marker exactly
// when a further page exists.
#include <algorithm>

#include "internal.h"

namespace tavlo::sandbox {
namespace {

struct Query {
  bool ok = false;
  std::string keyword;  // UTF-8
  int page = 1;
};

const int kPageSize[6] = {0, 20, 15, 25, 10, 30};

// Every marker a client cuts on the site's pages (after double quotes become single ones),
// and the more-marker: an echoed keyword must never contain one.
const std::vector<std::string>& markers(int site) {
  static const std::vector<std::string> m[6] = {
      {},
      {"<td class='name'>", "<td class='size'>", "/information/", "current"},
      {"btn' title='", "<td class='files-size'>", "/magnet/detail/hash/", "Next"},
      {"<thead>", "recommend", "&dn=", "</em></span>", "magnet:?", "<td>", "<span>1</span>"},
      {"><h4>", "帐号]</strong></a>", "<strong>[", "hash:</strong>", "disabled"},
      {"alt='下载 ", "大小: ", "btih:", "下一页"},
  };
  return m[site];
}

int page_number(const std::string& s) {
  if (s.empty() || s.size() > 6 || !std::all_of(s.begin(), s.end(), ::isdigit)) return -1;
  return std::max(1, std::atoi(s.c_str()));
}

// The keyword and page of a request, from the address forms of each site.
Query parse(int site, const httplib::Request& req) {
  Query q;
  std::string path = req.target.substr(0, req.target.find('?'));
  auto path_form = [&](const std::string& next_infix) {
    if (path.rfind("/search/", 0) != 0) return;
    std::string rest = path.substr(8);
    size_t slash = rest.find('/');
    q.keyword = url_decode(rest.substr(0, slash), false);
    q.ok = true;
    if (slash == std::string::npos) return;
    std::string tail = rest.substr(slash + 1);
    if (tail.empty()) return;
    if (!next_infix.empty()) {
      if (tail.rfind(next_infix, 0) != 0) return void(q.ok = false);
      tail = tail.substr(next_infix.size());
    }
    q.page = page_number(tail);
    if (q.page < 0) q.ok = false;
  };
  switch (site) {
    case 1:
    case 5:
      path_form("");
      break;
    case 2:
      path_form("currentPage/");
      break;
    case 3:
      if (path == "/" && req.has_param("keyword")) {
        q.ok = true;
        q.keyword = req.get_param_value("keyword");
        if (req.has_param("page")) q.page = page_number(req.get_param_value("page"));
      }
      break;
    case 4:
      if ((path == "/s/" || path == "/s/index.php") && req.has_param("q")) {
        q.ok = true;
        q.keyword = req.get_param_value("q");
        if (req.has_param("p") && !req.get_param_value("p").empty()) q.page = page_number(req.get_param_value("p"));
      }
      break;
  }
  if (q.page < 0) q.ok = false;
  q.keyword = to_utf8(q.keyword);
  return q;
}

std::string all_entities(const std::string& u) {
  std::string out;
  for (size_t i = 0; i < u.size();) {
    unsigned char c = u[i];
    unsigned cp = c;
    int n = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : 3;
    if (n) cp = c & (0x3F >> n);
    for (int k = 1; k <= n && i + k < u.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(u[i + k]) & 0x3F);
    out += "&#" + std::to_string(cp) + ";";
    i += n + 1;
  }
  return out;
}

// The keyword as shown on a page: escaped, and fully entity-coded when it would otherwise
// carry one of the site's markers.
std::string echo(int site, const std::string& keyword) {
  std::string e = html_escape(keyword);
  std::string normal = e;
  std::replace(normal.begin(), normal.end(), '"', '\'');
  for (const std::string& m : markers(site))
    if (normal.find(m) != std::string::npos) return all_entities(keyword);
  return e;
}

std::vector<const Title*> results(int site, const std::string& keyword) {
  std::vector<const Title*> r = search_catalogue(keyword);
  switch (site) {
    case 2: std::stable_sort(r.begin(), r.end(), [](auto a, auto b) { return a->bytes > b->bytes; }); break;
    case 3: std::stable_sort(r.begin(), r.end(), [](auto a, auto b) { return a->date > b->date; }); break;
    case 4: std::stable_sort(r.begin(), r.end(), [](auto a, auto b) { return a->heat > b->heat; }); break;
    case 5: std::stable_sort(r.begin(), r.end(), [](auto a, auto b) { return a->hash < b->hash; }); break;
    default: break;
  }
  return r;
}

// The name with every keyword word wrapped in <em> (ASCII case folded).
std::string highlight(const std::string& name, const std::string& keyword) {
  std::string lname = lower_ascii(name);
  std::vector<bool> mark(name.size(), false);
  std::string lk = lower_ascii(keyword);
  size_t pos = 0;
  while (pos < lk.size()) {
    size_t sp = lk.find(' ', pos);
    std::string w = lk.substr(pos, sp == std::string::npos ? std::string::npos : sp - pos);
    for (size_t f = w.empty() ? std::string::npos : lname.find(w); f != std::string::npos; f = lname.find(w, f + w.size()))
      std::fill(mark.begin() + f, mark.begin() + f + w.size(), true);
    if (sp == std::string::npos) break;
    pos = sp + 1;
  }
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (mark[i] && (i == 0 || !mark[i - 1])) out += "<em>";
    out += html_escape(std::string(1, name[i]));
    if (mark[i] && (i + 1 == name.size() || !mark[i + 1])) out += "</em>";
  }
  return out;
}

std::string site_head(const char* css) { return std::string("<style>") + css + "</style>\n"; }

std::string render(int site, const std::string& host, const Query& q) {
  const auto all = results(site, q.keyword);
  const int size = kPageSize[site];
  const size_t first = static_cast<size_t>(q.page - 1) * size;
  const bool more = all.size() > first + size;
  std::vector<const Title*> rows;
  for (size_t i = first; i < all.size() && i < first + size; ++i) rows.push_back(all[i]);
  const std::string kw = echo(site, q.keyword);
  const std::string K = url_encode(q.keyword);
  const std::string P = std::to_string(q.page), N = std::to_string(q.page + 1);
  const std::string total = std::to_string(all.size());
  std::string b;

  switch (site) {
    case 1: {
      b += "<div class=\"top\"><a href=\"/\" class=\"logo\">磁力猫</a> <form action=\"/search\" method=\"get\">"
           "<input name=\"q\" value=\"" + kw + "\"><button type=\"submit\">搜索</button></form></div>\n";
      b += "<div class=\"summary\">找到约 " + total + " 条结果</div>\n<table class=\"list\">\n"
           "<tr><th>名称</th><th>大小</th><th>日期</th><th>操作</th></tr>\n";
      for (const Title* t : rows)
        b += "<tr>\n<td class=\"name\">" + html_escape(t->name) + "</td>\n<td class=\"size\">" + t->size_text +
             "</td>\n<td class=\"date\">" + t->date + "</td>\n<td class=\"action\"><a href=\"/information/" + t->hash +
             "\" target=\"_blank\">详情</a> <a href=\"magnet:?xt=urn:btih:" + t->hash + "\">磁力链接</a></td>\n</tr>\n";
      b += "</table>\n";
      if (rows.empty()) b += "<p class=\"none\">没有找到相关的种子</p>\n";
      if (more) {
        b += "<div class=\"pages\">";
        for (int p = 1; p < q.page; ++p) b += "<a href=\"/search/" + K + "/" + std::to_string(p) + "\">" + std::to_string(p) + "</a> ";
        b += "<span class=\"current\">" + P + "</span> <a href=\"/search/" + K + "/" + N + "\">" + N +
             "</a> <a href=\"/search/" + K + "/" + N + "\">下一页</a></div>\n";
      }
      return page(kw + " - 种子搜索 - 磁力猫", b,
                  site_head("body{font:13px sans-serif}.list td{padding:4px}.pages span{font-weight:bold}"));
    }
    case 2: {
      b += "<nav><a href=\"/\">TorrentKitty</a><form onsubmit=\"location.href='/search/'+encodeURIComponent(this.k.value);"
           "return false;\"><input name=\"k\" value=\"" + kw + "\"></form></nav>\n";
      b += "<h2>Search results (" + total + ")</h2>\n<table class=\"table\">\n<tr><th>Name</th><th>Size</th><th>Date</th><th></th></tr>\n";
      for (const Title* t : rows) {
        std::string name = html_escape(t->name);
        b += "<tr>\n<td><a href=\"http://" + host + "/magnet/detail/hash/" + t->hash + "\" title=\"" + name + "\">" +
             name + "</a></td>\n<td class=\"files-size\">" + t->size_text + "</td>\n<td class=\"files-date\">" + t->date +
             "</td>\n<td class=\"op\"><a href=\"/magnet/detail/hash/" + t->hash + "\" class=\"btn\" title=\"" + name +
             "\" target=\"_blank\">Detail</a></td>\n</tr>\n";
      }
      b += "</table>\n";
      if (rows.empty()) b += "<p>No results.</p>\n";
      if (more) b += "<ul class=\"pagination\"><li><a href=\"/search/" + K + "/currentPage/" + N + "\">Next &gt;</a></li></ul>\n";
      return page(kw + " - Torrent Search", b, site_head("body{font:14px Arial}.files-size{color:#080}"));
    }
    case 3: {
      b += "<div class=\"search\"><form action=\"/\" method=\"get\"><input name=\"keyword\" value=\"" + kw +
           "\"><input type=\"submit\" value=\"搜索\"></form></div>\n";
      b += "<div class=\"tip\">共 " + total + " 个结果</div>\n<table class=\"data\">\n"
           "<thead><tr><th>文件名</th><th>日期</th><th>大小</th><th>下载</th></tr></thead>\n<tbody>\n";
      for (const Title* t : rows)
        b += "<tr>\n<td class=\"name\"><span class=\"ico\"><em>视频</em></span><a href=\"/detail/" + t->hash + "\">" +
             html_escape(t->name) + "</a></td>\n<td class=\"date\">" + t->date + "</td>\n<td>" + t->size_text +
             "</td>\n<td><a href=\"magnet:?xt=urn:btih:" + t->hash + "&dn=" + url_encode(t->name) +
             "\">磁力链接</a></td>\n</tr>\n";
      b += "</tbody>\n</table>\n";
      if (more) {
        b += "<div class=\"pager\">";
        for (int p = 1; p <= q.page + 1; ++p)
          b += "<a href=\"/?keyword=" + K + "&page=" + std::to_string(p) + "\"" + (p == q.page ? " class=\"cur\"" : "") +
               "><span>" + std::to_string(p) + "</span></a>";
        b += "</div>\n";
      }
      b += "<div id=\"recommend\">\n<h3>热门推荐</h3>\n<ul>\n";
      const auto& cat = catalogue();
      for (size_t i = 0; i < 5 && i < cat.size(); ++i) {
        const Title& t = cat[(i * 37 + 11) % cat.size()];
        b += "<li><a href=\"magnet:?xt=urn:btih:" + t.hash + "&dn=" + url_encode(t.name) + "\">" + html_escape(t.name) +
             "</a> <span>" + t.size_text + "</span></li>\n";
      }
      b += "</ul>\n</div>\n";
      return page(kw + " - BT种子搜索", b, site_head("table.data td{border-bottom:1px solid #eee}.pager a{margin:2px}"));
    }
    case 4: {
      b += "<header><form action=\"/s/\" method=\"get\"><input name=\"q\" value=\"" + kw +
           "\"><input type=\"hidden\" name=\"f\" value=\"_all\"><input type=\"hidden\" name=\"m\" value=\"yes\">"
           "<button>搜 索</button></form></header>\n<div class=\"count\">约 " + total + " 条</div>\n<div class=\"list\">\n";
      for (const Title* t : rows)
        b += "<div class=\"item\">\n<a href=\"/h/" + t->hash + ".html\" target=\"_blank\"><h4>" + highlight(t->name, q.keyword) +
             "</h4></a>\n<p class=\"meta\"><a href=\"/vip.html\"><strong>[会员免登录帐号]</strong></a> 文件大小：<strong>[" +
             t->size_text + "]</strong> 收录时间：<strong>[" + t->date + "]</strong> 热度：<strong>[" +
             std::to_string(t->heat) + "]</strong></p>\n<p class=\"hash\"><strong>hash:</strong>" + t->hash + "</p>\n</div>\n";
      b += "</div>\n";
      if (rows.empty()) b += "<p>没有找到结果</p>\n";
      if (more)
        b += "<ul class=\"pagination\"><li class=\"disabled\"><a>第" + P + "页</a></li><li><a href=\"/s/index.php?q=" + K +
             "&m=&f=_all&s=&p=" + N + "\">下一页 &raquo;</a></li></ul>\n";
      return page(kw + " - 种子搜索", b, site_head("em{color:red;font-style:normal}h4{margin:4px 0}"));
    }
    default: {
      b += "<div class=\"head\"><form onsubmit=\"location.href='/search/'+encodeURIComponent(this.w.value);return false;\">"
           "<input name=\"w\" value=\"" + kw + "\"><button>搜索</button></form></div>\n";
      b += "<p class=\"sum\">" + total + " 个结果</p>\n<ul class=\"mlist\">\n";
      for (const Title* t : rows) {
        std::string name = html_escape(t->name);
        b += "<li>\n<div class=\"T1\"><a href=\"/detail/" + t->hash + ".html\" target=\"_blank\">" + name +
             "</a></div>\n<dl class=\"BotInfo\"><dt>创建时间: " + t->date + "&nbsp;&nbsp;大小: " + t->size_text +
             "&nbsp;&nbsp;热度: " + std::to_string(t->heat) + "</dt></dl>\n<div class=\"dInfo\"><a href=\"magnet:?xt=urn:btih:" +
             t->hash + "&dn=" + url_encode(t->name) + "\"><img src=\"/static/m.png\" alt=\"下载 " + name + "\"></a></div>\n</li>\n";
      }
      b += "</ul>\n";
      if (more) b += "<div class=\"pager\"><span>第" + P + "页</span> <a href=\"/search/" + K + "/" + N + "\">下一页</a></div>\n";
      return page(kw + " - 磁力搜索", b, site_head(".mlist li{margin:8px 0}.BotInfo{color:#666}"));
    }
  }
}

std::string detail_page(const std::string& hash) {
  const Title* t = title_by_hash(hash);
  if (!t) return "";
  return page(html_escape(t->name), "<h1>" + html_escape(t->name) + "</h1>\n<p>大小: " + t->size_text + "</p>\n<p>日期: " +
                                        t->date + "</p>\n<p><a href=\"magnet:?xt=urn:btih:" + t->hash + "\">magnet:?xt=urn:btih:" +
                                        t->hash + "</a></p>");
}

}  // namespace

void setup_site(Sandbox::Impl&, httplib::Server& srv, int site) {
  srv.Get(".*", [site](const httplib::Request& req, httplib::Response& res) {
    // Detail pages of the result links.
    for (const char* prefix : {"/information/", "/magnet/detail/hash/", "/detail/", "/h/"}) {
      if (req.path.rfind(prefix, 0) != 0) continue;
      std::string h = req.path.substr(strlen(prefix), 40);
      std::string d = detail_page(h);
      if (d.empty()) break;
      res.set_content(d, "text/html; charset=utf-8");
      return;
    }
    Query q = parse(site, req);
    if (!q.ok && (site == 1 || site == 5) && req.path == "/search" && req.has_param("q")) {
      q.ok = true;
      q.keyword = to_utf8(req.get_param_value("q"));
    }
    if (!q.ok) {
      if (req.path == "/") {
        res.set_content(page("种子搜索 " + std::to_string(site), "<h1>种子搜索</h1>\n<p>" +
                                                                   std::to_string(catalogue().size()) + " 个种子</p>"),
                        "text/html; charset=utf-8");
        return;
      }
      res.status = 404;
      res.set_content(page("404", "<h1>404 Not Found</h1>"), "text/html; charset=utf-8");
      return;
    }
    res.set_content(render(site, request_host(req), q), "text/html; charset=utf-8");
  });
}

}  // namespace tavlo::sandbox
