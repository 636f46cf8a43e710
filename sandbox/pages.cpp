// The service's main web host (jump page, link redirect), the play-API page, the maker's
// announcement and advert, the live-TV page, and the update page with its download.
#include "internal.h"

namespace tavlo::sandbox {
namespace {

const char* kHtml = "text/html; charset=utf-8";

std::string link_kind(const std::string& link) {
  std::string l = lower_ascii(link);
  struct K {
    const char* prefix;
    const char* name;
  };
  static const K kinds[] = {{"magnet:", "磁力链"},   {"ed2k://", "ED2K"},     {"thunder://", "迅雷"},
                            {"qqdl://", "旋风"},     {"flashget://", "快车"}, {"http://", "http"},
                            {"https://", "https"},   {"mms://", "mms"},       {"rtsp://", "rtsp"}};
  for (const K& k : kinds)
    if (l.rfind(k.prefix, 0) == 0) return k.name;
  return "";
}

const char* kPlayerScript =
    "<script>var t=0;function p(x){return (x<10?'0':'')+x;}setInterval(function(){t++;"
    "document.getElementById('clock').innerHTML=p(Math.floor(t/3600))+':'+p(Math.floor(t/60)%60)+':'+p(t%60);"
    "document.getElementById('done').style.width=Math.min(100,t/36)+'%';},1000);</script>";

void playapi(const httplib::Request& req, httplib::Response& res) {
  std::string method = req.get_param_value("method");
  std::string link = to_utf8(req.get_param_value("u"));
  if (method != "high") {
    res.set_content(page("云播放", "<p>参数错误</p>"), kHtml);
    return;
  }
  std::string kind = link_kind(link);
  std::string shown = html_escape(link);
  std::string body =
      "<div id=\"top\">高速通道 &middot; " + (kind.empty() ? std::string("未知链接") : kind) + "</div>\n"
      "<div id=\"link\">正在解析: <code>" + shown + "</code></div>\n";
  if (kind.empty()) {
    body += "<div class=\"err\">无法识别的链接，请检查地址是否正确。</div>\n";
  } else {
    body += "<iframe id=\"player\" name=\"player\" src=\"/player.php?u=" + url_encode(link) +
            "\" width=\"680\" height=\"300\" frameborder=\"0\" scrolling=\"no\"></iframe>\n";
  }
  body += "<iframe src=\"/ad/banner.html\" width=\"680\" height=\"40\" frameborder=\"0\" scrolling=\"no\"></iframe>\n"
          "<script>setTimeout(function(){window.open('/ad/pop.html','_blank','width=300,height=200');},300);</script>";
  res.set_content(page("云播放 - 高速通道", body,
                       "<style>body{margin:0;background:#000;color:#ccc;font:12px sans-serif}#top{padding:4px}"
                       "code{color:#8cf;word-break:break-all}</style>\n"),
                  kHtml);
}

void player_frame(const httplib::Request& req, httplib::Response& res) {
  std::string link = to_utf8(req.get_param_value("u"));
  std::string body =
      "<div id=\"screen\">缓冲完成，正在播放</div>\n<div id=\"bar\"><div id=\"done\"></div></div>\n"
      "<div id=\"info\"><span id=\"clock\">00:00:00</span> <span class=\"src\">" + html_escape(link) + "</span></div>\n" +
      kPlayerScript;
  res.set_content(page("player", body,
                       "<style>body{margin:0;background:#111;color:#ddd;font:12px sans-serif}"
                       "#screen{height:250px;display:flex;align-items:center;justify-content:center;"
                       "background:linear-gradient(135deg,#233,#112)}#bar{height:5px;background:#333}"
                       "#done{height:5px;width:0;background:#e83}#info{overflow:hidden;white-space:nowrap}</style>\n"),
                  kHtml);
}

}  // namespace

void setup_pan_web(Sandbox::Impl&, httplib::Server& srv) {
  srv.Get("/cache/user/html/jump.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("jump", "<script>try{var q=location.search.substr(1);"
                                 "if(parent&&parent.bdPass){eval(decodeURIComponent(q.match(/callback=([^&]*)/)[1]))(q);}}"
                                 "catch(e){}</script>"),
                    kHtml);
  });
  srv.Get("/ulink", [](const httplib::Request& req, httplib::Response& res) {
    std::string url = req.get_param_value("url");
    std::string l = lower_ascii(url);
    if (l.rfind("http://", 0) != 0 && l.rfind("https://", 0) != 0) {
      res.status = 400;
      res.set_content(page("链接错误", "<p>链接地址无效</p>"), kHtml);
      return;
    }
    std::string e = html_escape(url);
    res.set_content(page("正在跳转", "<p>正在跳转到 <a href=\"" + e + "\">" + e + "</a> ...</p>",
                         "<meta http-equiv=\"refresh\" content=\"1;url=" + e + "\">\n"),
                    kHtml);
  });
  srv.Get("/", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("百度网盘", "<h1>百度网盘</h1>\n<p>欢迎使用。注册完成后请回到程序登录。</p>"), kHtml);
  });
}

void setup_playapi(Sandbox::Impl&, httplib::Server& srv) {
  srv.Get("/playapi.php", [](const httplib::Request& req, httplib::Response& res) { playapi(req, res); });
  srv.Get("/player.php", [](const httplib::Request& req, httplib::Response& res) { player_frame(req, res); });
  srv.Get("/ad/banner.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("ad", "<div style=\"background:#fd3;color:#000;text-align:center\">高清影视 尽在云播</div>"), kHtml);
  });
  srv.Get("/ad/pop.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("推荐", "<h3>今日推荐</h3><p>这是一个弹出窗口。</p>"), kHtml);
  });
}

void setup_maker(Sandbox::Impl&, httplib::Server& srv) {
  srv.Get("/SOFT/Main.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("公告",
                         "<h3>Tavlo云播放影音盒 公告</h3>\n<ul>\n<li>支持磁力链、ED2K、迅雷、旋风、快车、http、mms、rtsp链接云播放。</li>\n"
                         "<li>登录百度帐号后可将搜索结果加入百度云离线下载。</li>\n<li>如遇无法播放，请更换资源或稍后再试。</li>\n</ul>",
                         "<style>body{margin:4px;font:12px sans-serif;background:#fff}</style>\n"),
                    kHtml);
  });
  srv.Get("/SOFT/pop.html", [](const httplib::Request&, httplib::Response& res) {
    res.set_content(page("广告",
                         "<div class=\"ad\"><h4>热门影片</h4><p>盗梦空间</p><p>星际穿越</p><p>让子弹飞</p>"
                         "<p><a href=\"/SOFT/Main.html\" target=\"_blank\">更多</a></p></div>",
                         "<style>body{margin:0;font:12px sans-serif;background:#f4f4f4}.ad{padding:6px}</style>\n"),
                    kHtml);
  });
}

void setup_live_tv(Sandbox::Impl&, httplib::Server& srv) {
  srv.Get("/images/img/100/", [](const httplib::Request&, httplib::Response& res) {
    std::string list;
    const char* channels[] = {"CCTV-1 综合", "CCTV-5 体育", "CCTV-6 电影", "湖南卫视", "浙江卫视", "东方卫视"};
    int i = 0;
    for (const char* c : channels)
      list += "<li><a href=\"/images/img/100/live.html?ch=" + std::to_string(++i) + "\" target=\"tv\">" + c + "</a></li>\n";
    res.set_content(page("电视直播",
                         "<div id=\"side\"><ul>\n" + list + "</ul></div>\n"
                         "<iframe name=\"tv\" src=\"/images/img/100/live.html?ch=1\" width=\"520\" height=\"330\" frameborder=\"0\"></iframe>",
                         "<style>body{margin:0;font:12px sans-serif;display:flex}#side{width:150px}</style>\n"),
                    kHtml);
  });
  srv.Get("/images/img/100/live.html", [](const httplib::Request& req, httplib::Response& res) {
    res.set_content(page("直播", "<div id=\"screen\">频道 " + html_escape(req.get_param_value("ch")) +
                                     " 直播中 <span id=\"clock\">00:00:00</span></div><div id=\"done\"></div>" + kPlayerScript,
                         "<style>body{margin:0;background:#000;color:#eee}#screen{height:300px}</style>\n"),
                    kHtml);
  });
}

void setup_update(Sandbox::Impl& s, httplib::Server& srv) {
  srv.Get("/update.html", [&s](const httplib::Request& req, httplib::Response& res) {
    std::string version, status;
    {
      std::lock_guard<std::mutex> lock(s.mu);
      version = s.update_version;
      status = s.update_status;
    }
    const std::string name = s.opt.update_name;
    const std::string addr = "http://" + request_host(req) + "/download/" + url_encode(name) + ".exe";
    const std::string ps = "<p style=\"margin:0 0 6px 0;line-height:1.6\">";
    std::string body = "<div class=\"post\">\n<h2>Tavlo云播放影音盒 更新公告</h2>\n<div class=\"content\">" + ps + "名称：[" +
                       html_escape(name) + "]</p>" + ps + "版本：[" + html_escape(version) + "]</p>" + ps + "状态：[" +
                       html_escape(status) + "]</p>" + ps + "地址：[" + addr + "]</p>" + ps +
                       "更新内容：[1. 修复离线列表刷新的问题</p><p>2. 搜索更快更准</p><p>3. 新增电视直播频道</p>" + ps +
                       "]</p>\n</div>\n</div>";
    res.set_content(page("软件更新 - 博客", body), kHtml);
  });
  srv.Get("/download/(.*)", [&s](const httplib::Request&, httplib::Response& res) {
    std::string data;
    if (!s.opt.update_file.empty()) {
      if (!read_file(s.opt.update_file, &data)) {
        res.status = 404;
        res.set_content("update file missing\n", "text/plain");
        return;
      }
    } else {
      std::string version;
      {
        std::lock_guard<std::mutex> lock(s.mu);
        version = s.update_version;
      }
      data = "#!/bin/sh\n# Stand-in for the new program version served by tavlo-sandbox.\necho \"Tavlo " + version +
             " (sandbox download)\"\n";
    }
    res.set_content(data, "application/octet-stream");
  });
}

}  // namespace tavlo::sandbox
