// The built-in catalogue behind the five search sites: each film appears as a Chinese,
// an English and a mixed torrent name, with a size that suits its release and a stable
// 40-hex info-hash (SHA-1 of the name).
#include <algorithm>
#include <cstdio>

#include "internal.h"

namespace tavlo::sandbox {
namespace {

struct Film {
  const char* zh;
  const char* en;
  int year;
};

// No apostrophes, ampersands or quotes: the sites print names inside attributes.
const Film kFilms[] = {
    {"让子弹飞", "Let the Bullets Fly", 2010},
    {"盗梦空间", "Inception", 2010},
    {"星际穿越", "Interstellar", 2014},
    {"霸王别姬", "Farewell My Concubine", 1993},
    {"大话西游之大圣娶亲", "A Chinese Odyssey Part Two", 1995},
    {"无间道", "Infernal Affairs", 2002},
    {"阿凡达", "Avatar", 2009},
    {"泰坦尼克号", "Titanic", 1997},
    {"肖申克的救赎", "The Shawshank Redemption", 1994},
    {"这个杀手不太冷", "Leon The Professional", 1994},
    {"千与千寻", "Spirited Away", 2001},
    {"功夫", "Kung Fu Hustle", 2004},
    {"英雄", "Hero", 2002},
    {"卧虎藏龙", "Crouching Tiger Hidden Dragon", 2000},
    {"花样年华", "In the Mood for Love", 2000},
    {"阳光灿烂的日子", "In the Heat of the Sun", 1994},
    {"活着", "To Live", 1994},
    {"一代宗师", "The Grandmaster", 2013},
    {"人在囧途", "Lost on Journey", 2010},
    {"疯狂的石头", "Crazy Stone", 2006},
    {"失恋33天", "Love Is Not Blind", 2011},
    {"中国合伙人", "American Dreams in China", 2013},
    {"智取威虎山", "The Taking of Tiger Mountain", 2014},
    {"心花路放", "Breakup Buddies", 2014},
    {"后会无期", "The Continent", 2014},
    {"白日焰火", "Black Coal Thin Ice", 2014},
    {"归来", "Coming Home", 2014},
    {"黄金时代", "The Golden Era", 2014},
    {"触不可及", "The Intouchables", 2011},
    {"钢铁侠", "Iron Man", 2008},
    {"钢铁侠3", "Iron Man 3", 2013},
    {"复仇者联盟", "The Avengers", 2012},
    {"美国队长2", "Captain America The Winter Soldier", 2014},
    {"银河护卫队", "Guardians of the Galaxy", 2014},
    {"变形金刚4", "Transformers Age of Extinction", 2014},
    {"X战警 逆转未来", "X-Men Days of Future Past", 2014},
    {"明日边缘", "Edge of Tomorrow", 2014},
    {"猩球崛起2", "Dawn of the Planet of the Apes", 2014},
    {"哥斯拉", "Godzilla", 2014},
    {"超凡蜘蛛侠2", "The Amazing Spider-Man 2", 2014},
    {"黑暗骑士", "The Dark Knight", 2008},
    {"黑暗骑士崛起", "The Dark Knight Rises", 2012},
    {"蝙蝠侠 侠影之谜", "Batman Begins", 2005},
    {"指环王 护戒使者", "The Lord of the Rings The Fellowship of the Ring", 2001},
    {"指环王 双塔奇兵", "The Lord of the Rings The Two Towers", 2002},
    {"指环王 王者无敌", "The Lord of the Rings The Return of the King", 2003},
    {"霍比特人 意外之旅", "The Hobbit An Unexpected Journey", 2012},
    {"哈利波特与魔法石", "Harry Potter and the Sorcerers Stone", 2001},
    {"哈利波特与死亡圣器", "Harry Potter and the Deathly Hallows", 2010},
    {"黑客帝国", "The Matrix", 1999},
    {"阿甘正传", "Forrest Gump", 1994},
    {"辛德勒的名单", "Schindlers List", 1993},
    {"拯救大兵瑞恩", "Saving Private Ryan", 1998},
    {"教父", "The Godfather", 1972},
    {"低俗小说", "Pulp Fiction", 1994},
    {"搏击俱乐部", "Fight Club", 1999},
    {"七宗罪", "Se7en", 1995},
    {"沉默的羔羊", "The Silence of the Lambs", 1991},
    {"美丽心灵", "A Beautiful Mind", 2001},
    {"楚门的世界", "The Truman Show", 1998},
    {"海上钢琴师", "The Legend of 1900", 1998},
    {"美丽人生", "Life Is Beautiful", 1997},
    {"天堂电影院", "Cinema Paradiso", 1988},
    {"放牛班的春天", "The Chorus", 2004},
    {"飞屋环游记", "Up", 2009},
    {"机器人总动员", "WALL-E", 2008},
    {"玩具总动员3", "Toy Story 3", 2010},
    {"冰雪奇缘", "Frozen", 2013},
    {"驯龙高手2", "How to Train Your Dragon 2", 2014},
    {"功夫熊猫2", "Kung Fu Panda 2", 2011},
    {"疯狂原始人", "The Croods", 2013},
    {"地心引力", "Gravity", 2013},
    {"少年派的奇幻漂流", "Life of Pi", 2012},
    {"了不起的盖茨比", "The Great Gatsby", 2013},
    {"华尔街之狼", "The Wolf of Wall Street", 2013},
    {"被解救的姜戈", "Django Unchained", 2012},
    {"环太平洋", "Pacific Rim", 2013},
    {"云图", "Cloud Atlas", 2012},
    {"逃离德黑兰", "Argo", 2012},
    {"消失的爱人", "Gone Girl", 2014},
    {"布达佩斯大饭店", "The Grand Budapest Hotel", 2014},
    {"爆裂鼓手", "Whiplash", 2014},
};

const char* kGroups[] = {"CHD", "WiKi", "HDS", "SPARKS", "AMIABLE", "CtrlHD", "EbP", "HDChina"};

std::string dotted(const std::string& s) {
  std::string out;
  for (char c : s) out += c == ' ' ? '.' : c;
  return out;
}

std::string size_text(long long bytes) {
  char buf[32];
  double gb = static_cast<double>(bytes) / (1024.0 * 1024 * 1024);
  if (gb >= 1.0)
    std::snprintf(buf, sizeof buf, "%.2f GB", gb);
  else
    std::snprintf(buf, sizeof buf, "%.1f MB", static_cast<double>(bytes) / (1024.0 * 1024));
  return buf;
}

std::vector<Title> build() {
  std::vector<Title> out;
  std::mt19937_64 rng(20141212);
  auto range = [&](double lo_gb, double hi_gb) {
    double gb = lo_gb + (hi_gb - lo_gb) * static_cast<double>(rng() % 10000) / 10000.0;
    return static_cast<long long>(gb * 1024 * 1024 * 1024);
  };
  int i = 0;
  for (const Film& f : kFilms) {
    std::string year = std::to_string(f.year);
    std::string zh = f.zh, en = f.en;
    const char* group = kGroups[i % (sizeof kGroups / sizeof *kGroups)];
    struct Variant {
      std::string name;
      long long bytes;
    };
    Variant vs[] = {
        {zh + " " + year + " BD1080P 国语中字", range(1.4, 4.2)},
        {dotted(en) + "." + year + ".1080p.BluRay.x264-" + group, range(6.5, 14.5)},
        {"[" + zh + "]" + en + " " + year + " 720p HDTV 中英双字", range(0.68, 1.9)},
    };
    for (auto& v : vs) {
      Title t;
      t.name = v.name;
      t.hash = sha1_hex(v.name, true);
      t.bytes = v.bytes;
      t.size_text = size_text(v.bytes);
      int y = std::max(f.year, 2006) + static_cast<int>(rng() % 3);
      if (y > 2014) y = 2014;
      char d[32];
      std::snprintf(d, sizeof d, "%04d-%02d-%02d", y, static_cast<int>(1 + rng() % 12),
                    static_cast<int>(1 + rng() % 28));
      t.date = d;
      t.heat = static_cast<int>(50 + rng() % 9000);
      out.push_back(std::move(t));
    }
    ++i;
  }
  return out;
}

std::string fold(std::string s) {
  s = lower_ascii(std::move(s));
  for (char& c : s)
    if (c == '.' || c == '_' || c == '-' || c == '[' || c == ']') c = ' ';
  return s;
}

}  // namespace

const std::vector<Title>& catalogue() {
  static const std::vector<Title> titles = build();
  return titles;
}

const Title* title_by_hash(std::string_view hash) {
  std::string h(hash);
  for (char& c : h)
    if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
  for (const Title& t : catalogue())
    if (t.hash == h) return &t;
  return nullptr;
}

std::vector<const Title*> search_catalogue(std::string_view keyword) {
  std::vector<std::string> words;
  std::string k = fold(std::string(keyword));
  size_t pos = 0;
  while (pos < k.size()) {
    size_t sp = k.find(' ', pos);
    std::string w = k.substr(pos, sp == std::string::npos ? std::string::npos : sp - pos);
    if (!w.empty()) words.push_back(w);
    if (sp == std::string::npos) break;
    pos = sp + 1;
  }
  std::vector<const Title*> out;
  if (words.empty()) return out;
  for (const Title& t : catalogue()) {
    std::string n = fold(t.name);
    bool all = std::all_of(words.begin(), words.end(),
                           [&](const std::string& w) { return n.find(w) != std::string::npos; });
    if (all) out.push_back(&t);
  }
  return out;
}

}  // namespace tavlo::sandbox
