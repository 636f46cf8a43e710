#!/usr/bin/env bash
# Draws every picture of the Tavlo main window and writes them as GIFs into
# app/art/gif/.  Run from anywhere:  bash app/art/make_art.sh
#
# Needs: rsvg-convert (librsvg2-bin), ImageMagick 6 `convert`, and the
# "Noto Sans CJK SC" font (fonts-noto-cjk).  The GIFs are committed, so the
# build never runs this script.
#
# Every picture is drawn as SVG, rendered to PNG by rsvg-convert and turned
# into a GIF by ImageMagick.  Buttons that sit on a known background are
# drawn over the very part of that background they cover, so their edges
# blend without a fringe.
set -euo pipefail
export LC_ALL=C.UTF-8   # ${#text} counts characters, not bytes

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
OUT="$HERE/gif"
T=$(mktemp -d)
trap 'rm -rf "$T"' EXIT
mkdir -p "$OUT"
rm -f "$OUT"/*.gif   # the set is made afresh: no stale picture stays in art.qrc

for tool in rsvg-convert convert; do
  command -v "$tool" >/dev/null || { echo "make_art.sh: $tool is missing" >&2; exit 1; }
done
fc-list : family | grep "Noto Sans CJK SC" >/dev/null || { echo "make_art.sh: font Noto Sans CJK SC is missing (fonts-noto-cjk)" >&2; exit 1; }

FONT="Noto Sans CJK SC"

# ---------------------------------------------------------------- palette
NAVY0="#0a2138"     # darkest header
NAVY1="#0f3658"
NAVY2="#17507f"
TEAL="#18a9c4"      # accent
TEAL_HI="#3fd3e6"
TEAL_DK="#0e6f8e"
ORANGE0="#ffad3b"   # play accent
ORANGE1="#f07a1a"
BODY="#f3f7fa"      # light page colour
SIDE0="#e8eff6"     # side bar gradient
SIDE1="#dbe5ef"
LINE="#cad8e5"
INK="#213a50"       # dark text
MUTED="#6d8699"
CARD="#ffffff"

# ---------------------------------------------------------------- helpers
# svg W H : prints the opening of an SVG document with the shared defs
svg() {
  cat <<EOF
<svg xmlns="http://www.w3.org/2000/svg" width="$1" height="$2" viewBox="0 0 $1 $2">
<defs>
  <linearGradient id="hdr" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="$NAVY0"/><stop offset="1" stop-color="$NAVY2"/></linearGradient>
  <linearGradient id="ftr" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="$NAVY1"/><stop offset="1" stop-color="$NAVY0"/></linearGradient>
  <radialGradient id="sheen" cx="0.5" cy="0.5" r="0.5">
    <stop offset="0" stop-color="$TEAL_HI" stop-opacity="0.35"/><stop offset="1" stop-color="$TEAL_HI" stop-opacity="0"/></radialGradient>
  <linearGradient id="side" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="$SIDE0"/><stop offset="1" stop-color="$SIDE1"/></linearGradient>
  <linearGradient id="teal" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#27bfd6"/><stop offset="1" stop-color="#1186a8"/></linearGradient>
  <linearGradient id="tealhot" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#5fe3f2"/><stop offset="1" stop-color="#18a2c2"/></linearGradient>
  <linearGradient id="orange" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="$ORANGE0"/><stop offset="1" stop-color="$ORANGE1"/></linearGradient>
  <linearGradient id="orangehot" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffc96b"/><stop offset="1" stop-color="#ff9330"/></linearGradient>
  <linearGradient id="blue" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#2f7fc0"/><stop offset="1" stop-color="#1a5a94"/></linearGradient>
  <linearGradient id="bluehot" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#4fa3e6"/><stop offset="1" stop-color="#2474b8"/></linearGradient>
  <linearGradient id="tabN" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffffff" stop-opacity="0.14"/><stop offset="1" stop-color="#ffffff" stop-opacity="0.04"/></linearGradient>
  <linearGradient id="tabH" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#4fd8ea" stop-opacity="0.95"/><stop offset="1" stop-color="#1590b0" stop-opacity="0.95"/></linearGradient>
  <linearGradient id="tabD" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="$BODY"/></linearGradient>
  <linearGradient id="sideH" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#d9f2f8"/><stop offset="1" stop-color="#bfe6f0"/></linearGradient>
  <linearGradient id="sideD" x1="0" y1="0" x2="1" y2="0">
    <stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="$BODY"/></linearGradient>
  <linearGradient id="band" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffffff"/><stop offset="1" stop-color="#e9f1f7"/></linearGradient>
  <linearGradient id="gloss" x1="0" y1="0" x2="0" y2="1">
    <stop offset="0" stop-color="#ffffff" stop-opacity="0.45"/><stop offset="1" stop-color="#ffffff" stop-opacity="0"/></linearGradient>
  <filter id="glow" x="-30%" y="-30%" width="160%" height="160%">
    <feGaussianBlur stdDeviation="1.6" result="b"/>
    <feMerge><feMergeNode in="b"/><feMergeNode in="SourceGraphic"/></feMerge></filter>
  <filter id="shadow" x="-10%" y="-10%" width="120%" height="130%">
    <feGaussianBlur in="SourceAlpha" stdDeviation="2"/>
    <feOffset dy="1" result="o"/>
    <feComponentTransfer><feFuncA type="linear" slope="0.25"/></feComponentTransfer>
    <feMerge><feMergeNode/><feMergeNode in="SourceGraphic"/></feMerge></filter>
</defs>
EOF
}

# text X Y SIZE COLOUR WEIGHT ANCHOR STRING
text() {
  printf '<text x="%s" y="%s" font-family="%s" font-size="%s" fill="%s" font-weight="%s" text-anchor="%s">%s</text>\n' \
    "$1" "$2" "$FONT" "$3" "$4" "$5" "$6" "$7"
}

# icon NAME X Y SIZE COLOUR : a line icon drawn in a 20x20 box
icon() {
  local name=$1 x=$2 y=$3 s=$4 c=$5 k
  k=$(awk "BEGIN{print $s/20}")
  printf '<g transform="translate(%s %s) scale(%s)" fill="none" stroke="%s" stroke-width="1.8" stroke-linecap="round" stroke-linejoin="round">\n' "$x" "$y" "$k" "$c"
  case $name in
    film)  echo '<rect x="2" y="3.5" width="16" height="13" rx="2"/><path d="M6 3.5v13M14 3.5v13M2 8h4M2 12h4M14 8h4M14 12h4"/>' ;;
    search) echo '<circle cx="8.5" cy="8.5" r="5.5"/><path d="M12.6 12.6L17.5 17.5" stroke-width="2.4"/>' ;;
    tv)    echo '<rect x="2" y="5" width="16" height="11" rx="2"/><path d="M7 1.8l3 3 3-3M7 18.5h6"/>' ;;
    play)  echo '<circle cx="10" cy="10" r="8"/><path d="M8.2 6.6v6.8l5.4-3.4z" fill="'"$c"'"/>' ;;
    cloudplay) echo '<path d="M5.6 16h9.2a3.9 3.9 0 0 0 .6-7.76A5.4 5.4 0 0 0 5 7.3 4.4 4.4 0 0 0 5.6 16z"/><path d="M9 9.3v4.4l3.6-2.2z" fill="'"$c"'" stroke-width="1.2"/>' ;;
    user)  echo '<circle cx="10" cy="6.8" r="3.8"/><path d="M3 18c.6-4 3.4-6.2 7-6.2s6.4 2.2 7 6.2"/>' ;;
    history) echo '<circle cx="10" cy="10" r="7.6"/><path d="M10 5.6V10l3 2"/>' ;;
    download) echo '<path d="M10 2.5v10M5.8 8.6L10 12.8l4.2-4.2M3 17h14"/>' ;;
    star)  echo '<path d="M10 2.3l2.35 4.9 5.35.7-3.9 3.7 1 5.3L10 14.3 5.2 16.9l1-5.3-3.9-3.7 5.35-.7z"/>' ;;
    cloud) echo '<path d="M5.6 16h9.2a3.9 3.9 0 0 0 .6-7.76A5.4 5.4 0 0 0 5 7.3 4.4 4.4 0 0 0 5.6 16z"/>' ;;
    lock)  echo '<rect x="4" y="8.5" width="12" height="9" rx="2"/><path d="M6.8 8.5V6a3.2 3.2 0 0 1 6.4 0v2.5"/>' ;;
    more)  echo '<path d="M5 7.5l5 5 5-5"/>' ;;
    magnet) echo '<path d="M4 3.5v7a6 6 0 0 0 12 0v-7h-3.6v7a2.4 2.4 0 0 1-4.8 0v-7z"/><path d="M4 3.5h3.6V7H4zM12.4 3.5H16V7h-3.6z" fill="'"$c"'"/>' ;;
  esac
  echo '</g>'
}

# logo X Y SIZE : the Tavlo mark (rounded square, cloud, play triangle)
logo() {
  local x=$1 y=$2 s=$3 k
  k=$(awk "BEGIN{print $s/40}")
  cat <<EOF
<g transform="translate($x $y) scale($k)">
  <rect x="1" y="1" width="38" height="38" rx="9" fill="url(#teal)"/>
  <rect x="1" y="1" width="38" height="19" rx="9" fill="url(#gloss)"/>
  <path d="M11.5 30h17a6.6 6.6 0 0 0 1-13.1A9.3 9.3 0 0 0 11 15.2 7.5 7.5 0 0 0 11.5 30z" fill="#ffffff"/>
  <path d="M17.4 17.2v9.6l7.6-4.8z" fill="$ORANGE1"/>
</g>
EOF
}

# render NAME W H : SVG on stdin -> $T/NAME.png
render() {
  cat > "$T/$1.svg"
  rsvg-convert -w "$2" -h "$3" "$T/$1.svg" -o "$T/$1.png"
}

# gif PNG NAME : write $OUT/NAME.gif (opaque, 256 colours, no metadata)
gif() {
  convert "$1" -background "$BODY" -alpha remove -alpha off -dither FloydSteinberg -colors 256 \
    -strip "$OUT/$2.gif"
}

# on BGPNG X Y FGPNG NAME : draw FG over the part of BG at X,Y it covers, write the GIF
on() {
  local w h
  w=$(identify -format %w "$4"); h=$(identify -format %h "$4")
  convert "$1" -crop "${w}x${h}+$2+$3" +repage "$4" -composite "$T/$5.png"
  gif "$T/$5.png" "$5"
}

# gif_keyed PNG NAME MATTE : flatten on MATTE, then make MATTE transparent
gif_keyed() {
  convert "$1" -background "$3" -alpha remove -alpha off -transparent "$3" -dither None -colors 128 \
    -strip "$OUT/$2.gif"
}

# ================================================================ main window 700x455
{
  svg 700 455
  cat <<EOF
<rect width="700" height="455" fill="$BODY"/>
<rect width="700" height="56" fill="url(#hdr)"/>
<ellipse cx="560" cy="10" rx="240" ry="60" fill="url(#sheen)"/>
<ellipse cx="90" cy="70" rx="200" ry="40" fill="url(#sheen)" opacity="0.5"/>
<path d="M0 44 C140 24 260 58 420 36 S640 20 700 34" fill="none" stroke="#ffffff" stroke-opacity="0.06" stroke-width="10"/>
<path d="M0 52 C180 34 300 62 470 44 S650 32 700 42" fill="none" stroke="$TEAL_HI" stroke-opacity="0.10" stroke-width="2"/>
<rect y="55" width="700" height="1" fill="$TEAL" opacity="0.6"/>
EOF
  logo 16 1 13
  text 34 12 11.5 "#e4f2fc" bold start "Tavlo云播放影音盒"
  # emblem between the tab row and the window buttons
  logo 556 22 28
  text 590 41 12 "#bfe3f2" bold start "Tavlo"
  # footer under the page area
  cat <<EOF
<rect y="429" width="700" height="26" fill="url(#ftr)"/>
<rect y="429" width="700" height="1" fill="$TEAL" opacity="0.7"/>
EOF
  icon cloudplay 12 434 15 "#7fcde0"
  text 32 446 11 "#9fc2d9" normal start "Tavlo云播放影音盒 · 粘贴链接，即点即播"
  text 688 446 11 "#7fa3bd" normal end "云播放 · 种子搜索 · 离线下载 · 我的收藏"
  echo "<rect x=\"0.5\" y=\"0.5\" width=\"699\" height=\"454\" fill=\"none\" stroke=\"#061628\"/>"
  echo "</svg>"
} | render bg_main 700 455
gif "$T/bg_main.png" bg_main

# ---------------------------------------------------------------- window buttons 32x23
winbtn() { # NAME GLYPH STATE
  {
    svg 32 23
    case $3 in
      hot) if [ "$2" = close ]; then
             echo '<rect width="32" height="23" fill="#e0463c"/><rect width="32" height="11" fill="url(#gloss)"/>'
           else
             echo '<rect width="32" height="23" fill="#ffffff" fill-opacity="0.18"/>'
           fi ;;
    esac
    if [ "$2" = close ]; then
      echo '<path d="M11.5 7l9 9M20.5 7l-9 9" stroke="#ffffff" stroke-width="1.8" stroke-linecap="round"/>'
    else
      echo '<path d="M11 12.5h10" stroke="#ffffff" stroke-width="1.8" stroke-linecap="round"/>'
    fi
    echo '</svg>'
  } | render "fg_$1_$3" 32 23
}
for st in normal hot; do
  winbtn minimize minimize $st; on "$T/bg_main.png" 601 0 "$T/fg_minimize_$st.png" "btn_minimize_$st"
  winbtn close close $st;       on "$T/bg_main.png" 665 0 "$T/fg_close_$st.png" "btn_close_$st"
done

# ---------------------------------------------------------------- top tabs
# tab NAME W ICON CAPTION STATE CENTRE : CENTRE is where icon+caption are centred
tab() {
  local name=$1 w=$2 ic=$3 cap=$4 st=$5 cx=$6 tw ix tx fill stroke tc icc weight
  tw=$(( ${#cap} * 16 ))             # caption width: CJK glyphs are one em wide
  ix=$(awk "BEGIN{print $cx - ($tw + 24)/2}")
  tx=$(awk "BEGIN{print $ix + 24}")
  case $st in
    normal)   fill="url(#tabN)"; stroke="#ffffff"; tc="#dcebf7"; icc="#86d4e8"; weight=bold ;;
    hot)      fill="url(#tabH)"; stroke="#8ff0fb"; tc="#ffffff"; icc="#ffffff"; weight=bold ;;
    disabled) fill="url(#tabD)"; stroke="#ffffff"; tc="$TEAL_DK"; icc="$TEAL"; weight=bold ;;
  esac
  {
    svg "$w" 40
    local r=7 x0=1 x1=$((w - 1))
    echo "<path d=\"M$x0 41V$((3 + r))a$r $r 0 0 1 $r -$r H$((x1 - r))a$r $r 0 0 1 $r $r V41z\" fill=\"$fill\"/>"
    if [ "$st" = normal ]; then
      echo "<path d=\"M$x0.5 41V$((3 + r))a$((r-1)) $((r-1)) 0 0 1 $((r-1)) -$((r-1)) H$((x1 - r))a$((r-1)) $((r-1)) 0 0 1 $((r-1)) $((r-1)) V41\" fill=\"none\" stroke=\"$stroke\" stroke-opacity=\"0.22\"/>"
    fi
    if [ "$st" = hot ]; then
      echo "<path d=\"M$x0 22V$((3 + r))a$r $r 0 0 1 $r -$r H$((x1 - r))a$r $r 0 0 1 $r $r V22z\" fill=\"url(#gloss)\" opacity=\"0.6\"/>"
    fi
    if [ "$st" = disabled ]; then
      echo "<path d=\"M$((x0 + 3)) 6.2 a$r $r 0 0 1 $((r - 3)) -3.2 H$((x1 - r)) a$r $r 0 0 1 $((r - 3)) 3.2z\" fill=\"$TEAL\"/>"
      echo "<rect x=\"$((x0+2))\" y=\"5\" width=\"$((x1 - x0 - 4))\" height=\"1.4\" fill=\"$TEAL\"/>"
    fi
    icon "$ic" "$ix" 12 18 "$icc"
    text "$tx" 27 15.5 "$tc" "$weight" start "$cap"
    echo '</svg>'
  } | render "fg_tab_${name}_$st" "$w" 40
}
declare -A TABX=([mymovies]=16 [search]=177 [livetv]=298 [nowplaying]=419)
for st in normal hot disabled; do
  tab mymovies 160 film   "我的影片" "$st" 80
  tab search   120 search "影片搜索" "$st" 60
  tab livetv   120 tv     "电视直播" "$st" 53   # leaves room for the close mark at the right end
  tab nowplaying 120 play "正在播放" "$st" 53
  for n in mymovies search livetv nowplaying; do
    on "$T/bg_main.png" "${TABX[$n]}" 15 "$T/fg_tab_${n}_$st.png" "tab_${n}_$st"
  done
done

# ---------------------------------------------------------------- side bar shared by the five "my movies" pages
sidebar() {
  cat <<EOF
<rect width="175" height="373" fill="url(#side)"/>
<rect x="174" width="1" height="373" fill="$LINE"/>
EOF
  for y in 39 79 119 159 199; do echo "<rect x=\"10\" y=\"$y\" width=\"154\" height=\"1\" fill=\"$LINE\"/>"; done
  # lower part: a quiet brand block
  logo 67 236 40
  text 87 298 13 "$TEAL_DK" bold middle "Tavlo云播放"
  text 87 318 11 "$MUTED" normal middle "粘贴链接 · 即点即播"
  text 87 336 11 "$MUTED" normal middle "云端存储 · 离线下载"
}

# ================================================================ page: cloud play 697x373
{
  svg 697 373
  echo "<rect width=\"697\" height=\"373\" fill=\"$BODY\"/>"
  sidebar
  cat <<EOF
<rect x="175" width="522" height="70" fill="url(#band)"/>
<rect x="175" y="69" width="522" height="1" fill="$LINE"/>
<rect x="193.5" y="15.5" width="405" height="39" rx="6" fill="#ffffff" stroke="#8fbcd8"/>
<g filter="url(#shadow)">
  <rect x="599" y="18" width="83" height="34" rx="6" fill="url(#orange)"/>
  <rect x="599" y="18" width="83" height="16" rx="6" fill="url(#gloss)" opacity="0.7"/>
</g>
<path d="M613 28.5v13l10.5-6.5z" fill="#ffffff"/>
EOF
  text 628 41 15 "#ffffff" bold start "播放"
  text 198 65 10.5 "$MUTED" normal start "粘贴影片链接后点击「播放」，即可在线观看"
  # placeholder under the announcement area
  echo "<rect x=\"175\" y=\"70\" width=\"522\" height=\"303\" fill=\"#fbfdfe\"/>"
  icon cloudplay 406 170 60 "#d3e2ee"
  text 436 262 13 "#b9cbd9" normal middle "公告载入中……"
  echo '</svg>'
} | render bg_cloudplay 697 373
gif "$T/bg_cloudplay.png" bg_cloudplay

# ================================================================ page: account login 697x373
{
  svg 697 373
  echo "<rect width=\"697\" height=\"373\" fill=\"$BODY\"/>"
  sidebar
  cat <<EOF
<g filter="url(#shadow)"><rect x="186" y="12" width="500" height="318" rx="10" fill="$CARD"/></g>
<rect x="186.5" y="12.5" width="499" height="317" rx="10" fill="none" stroke="#d6e2ec"/>
<rect x="470" y="26" width="1" height="290" fill="#e3ebf2"/>
EOF
  icon user 213 32 22 "$TEAL"
  text 240 50 17 "$INK" bold start "百度云账号登录"
  # frames under the name and password boxes (249,74 and 249,121, 200x40)
  echo '<rect x="248.5" y="73.5" width="201" height="41" rx="4" fill="#ffffff" stroke="#a9c4d8"/>'
  echo '<rect x="248.5" y="120.5" width="201" height="41" rx="4" fill="#ffffff" stroke="#a9c4d8"/>'
  text 240 99 14 "$MUTED" normal end "账号"
  text 240 146 14 "$MUTED" normal end "密码"
  # right part of the card: what the account brings
  logo 555 40 44
  text 577 110 14 "$INK" bold middle "登录后即可使用"
  local_y=140
  for item in "cloudplay:云端影片在线播放" "download:磁力链离线下载" "history:云播放记录随时看"; do
    ic=${item%%:*}; cap=${item#*:}
    icon "$ic" 488 $((local_y - 14)) 18 "$TEAL"
    text 512 "$local_y" 12.5 "$INK" normal start "$cap"
    local_y=$((local_y + 32))
  done
  text 577 262 11 "$MUTED" normal middle "账号信息只保存在本机"
  echo '</svg>'
} | render bg_login 697 373
gif "$T/bg_login.png" bg_login

# ================================================================ pages: cloud history, downloads, favourites 697x373
{
  svg 697 373
  echo "<rect width=\"697\" height=\"373\" fill=\"$BODY\"/>"
  sidebar
  cat <<EOF
<rect x="175" width="522" height="31" fill="url(#band)"/>
<rect x="175" y="30" width="522" height="1" fill="$LINE"/>
<rect x="175" y="31" width="522" height="342" fill="#ffffff"/>
EOF
  icon more 184 7 16 "$TEAL"
  text 204 20 12 "$MUTED" normal start "右键单击列表中的影片，可查看更多操作"
  echo '</svg>'
} | render bg_lists 697 373
gif "$T/bg_lists.png" bg_lists

# ================================================================ page: film search 698x374
{
  svg 698 374
  cat <<EOF
<rect width="698" height="374" fill="$BODY"/>
<rect width="536" height="100" fill="url(#band)"/>
<rect y="99" width="536" height="1" fill="$LINE"/>
<rect x="25.5" y="16.5" width="405" height="37" rx="6" fill="#ffffff" stroke="#8fbcd8"/>
EOF
  icon magnet 30 62 16 "$TEAL"
  text 50 75 12 "$INK" bold start "磁力资源搜索"
  text 134 75 12 "$MUTED" normal start "输入影片名称，按回车或点击「搜索」"
  text 30 93 11.5 "$MUTED" normal start "双击结果加入百度云离线下载，右键可复制地址或加入收藏"
  cat <<EOF
<rect y="338" width="536" height="36" fill="#e9f0f6"/>
<rect y="338" width="536" height="1" fill="$LINE"/>
<rect x="536" width="162" height="374" fill="#fbfdfe"/>
<rect x="535" width="1" height="374" fill="$LINE"/>
EOF
  echo '</svg>'
} | render bg_search 698 374
gif "$T/bg_search.png" bg_search

# ---------------------------------------------------------------- side buttons 174x39
side() { # NAME ICON CAPTION STATE
  local tc icc weight
  {
    svg 174 39
    case $4 in
      normal)   tc="$INK"; icc="#4d7fa6"; weight=normal ;;
      hot)      tc="$TEAL_DK"; icc="$TEAL"; weight=bold
                echo '<rect x="0" y="0" width="174" height="39" fill="url(#sideH)"/>'
                echo "<rect x=\"0\" y=\"0\" width=\"3\" height=\"39\" fill=\"$TEAL_HI\"/>" ;;
      disabled) tc="$TEAL_DK"; icc="$TEAL"; weight=bold
                echo '<rect x="0" y="0" width="174" height="39" fill="url(#sideD)"/>'
                echo "<rect x=\"0\" y=\"0\" width=\"4\" height=\"39\" fill=\"$TEAL\"/>"
                ;;
    esac
    icon "$2" 22 10 19 "$icc"
    text 50 25 14.5 "$tc" "$weight" start "$3"
    echo '</svg>'
  } | render "fg_side_$1_$4" 174 39
}
declare -A SIDEY=([cloudplayer]=0 [login]=40 [history]=80 [downloads]=120 [favourites]=160)
for st in normal hot disabled; do
  side cloudplayer cloudplay "云在线播放器" "$st"
  side login       user      "登录百度账号" "$st"
  side history     history   "百度云播放记录" "$st"
  side downloads   download  "正在下载文件" "$st"
  side favourites  star      "我的收藏" "$st"
  for n in cloudplayer login history downloads favourites; do
    on "$T/bg_cloudplay.png" 0 "${SIDEY[$n]}" "$T/fg_side_${n}_$st.png" "side_${n}_$st"
  done
done

# ---------------------------------------------------------------- push buttons
# pbtn NAME W H FILL CAPTION ICON SIZE : a rounded gradient button
pbtn() {
  local name=$1 w=$2 h=$3 fill=$4 cap=$5 ic=$6 fs=$7 tw ix tx
  local bw=$(( w - ${PB_CUT:-0} ))   # PB_CUT: columns at the right left bare
  tw=$(awk "BEGIN{print ${#cap} * $fs}")
  {
    svg "$w" "$h"
    if [ "$fill" = outline ] || [ "$fill" = outlinehot ]; then
      local bg="#ffffff" tc="$TEAL_DK"
      [ "$fill" = outlinehot ] && bg="#e3f6fa" && tc="#0a86a6"
      echo "<rect x=\"1\" y=\"1\" width=\"$((bw-2))\" height=\"$((h-3))\" rx=\"6\" fill=\"$bg\" stroke=\"$TEAL\" stroke-width=\"1.5\" filter=\"url(#shadow)\"/>"
      tcol=$tc
    else
      echo "<g filter=\"url(#shadow)\"><rect x=\"1\" y=\"1\" width=\"$((bw-2))\" height=\"$((h-3))\" rx=\"6\" fill=\"url(#$fill)\"/></g>"
      echo "<rect x=\"1\" y=\"1\" width=\"$((bw-2))\" height=\"$(((h-3)/2))\" rx=\"6\" fill=\"url(#gloss)\" opacity=\"0.8\"/>"
      tcol="#ffffff"
    fi
    local ty
    ty=$(awk "BEGIN{print ($h-2)/2 + $fs*0.36}")
    if [ -n "$ic" ]; then
      ix=$(awk "BEGIN{print ($bw - $tw - 20)/2}")
      tx=$(awk "BEGIN{print $ix + 20}")
      icon "$ic" "$ix" "$(awk "BEGIN{print ($h-2)/2 - 8}")" 16 "$tcol"
      if [ "$tcol" = "#ffffff" ]; then   # a soft shadow under white captions
        text "$tx" "$(awk "BEGIN{print $ty+1}")" "$fs" "#00324a" bold start "$cap" | sed 's/<text /<text opacity="0.3" /'
      fi
      text "$tx" "$ty" "$fs" "$tcol" bold start "$cap"
    else
      if [ "$tcol" = "#ffffff" ]; then
        text "$(awk "BEGIN{print $bw/2}")" "$(awk "BEGIN{print $ty+1}")" "$fs" "#00324a" bold middle "$cap" | sed 's/<text /<text opacity="0.3" /'
      fi
      text "$(awk "BEGIN{print $bw/2}")" "$ty" "$fs" "$tcol" bold middle "$cap"
    fi
    echo '</svg>'
  } | render "fg_$name" "$w" "$h"
}
pbtn search_normal 82 34 teal "搜索" search 15
pbtn search_hot 82 34 tealhot "搜索" search 15
on "$T/bg_search.png" 434 18 "$T/fg_search_normal.png" btn_search_normal
on "$T/bg_search.png" 434 18 "$T/fg_search_hot.png" btn_search_hot

# the box that holds these two is 245 wide, so the last 3 columns of 注册 are cut off:
# both buttons leave their 4 rightmost columns bare, and look alike
PB_CUT=4 pbtn login_normal 98 40 blue "登录" "" 16
PB_CUT=4 pbtn login_hot 98 40 bluehot "登录" "" 16
PB_CUT=4 pbtn register_normal 98 40 outline "注册" "" 16
PB_CUT=4 pbtn register_hot 98 40 outlinehot "注册" "" 16
for st in normal hot; do
  on "$T/bg_login.png" 210 209 "$T/fg_login_$st.png" "btn_login_$st"
  on "$T/bg_login.png" 360 209 "$T/fg_register_$st.png" "btn_register_$st"
done

pbtn loadmore_normal 80 28 teal "加载更多" "" 12.5
pbtn loadmore_hot 80 28 tealhot "加载更多" "" 12.5
on "$T/bg_search.png" 452 342 "$T/fg_loadmore_normal.png" btn_loadmore_normal
on "$T/bg_search.png" 452 342 "$T/fg_loadmore_hot.png" btn_loadmore_hot

# the submit button sits on the notice panel; its corners are transparent
pbtn submit_normal 82 30 orange "提交" "" 14
pbtn submit_hot 82 30 orangehot "提交" "" 14
gif_keyed "$T/fg_submit_normal.png" btn_submit_normal "#fefefe"
gif_keyed "$T/fg_submit_hot.png" btn_submit_hot "#fefefe"

# ---------------------------------------------------------------- remember-account check box 67x16
check() { # STATE
  {
    svg 67 16
    if [ "$1" = on ]; then
      echo "<rect x=\"1.5\" y=\"1.5\" width=\"13\" height=\"13\" rx=\"2.5\" fill=\"$TEAL\" stroke=\"$TEAL_DK\"/>"
      echo '<path d="M4.4 8.2l2.6 2.6 4.7-5.4" fill="none" stroke="#ffffff" stroke-width="1.9" stroke-linecap="round" stroke-linejoin="round"/>'
    else
      echo "<rect x=\"1.5\" y=\"1.5\" width=\"13\" height=\"13\" rx=\"2.5\" fill=\"#ffffff\" stroke=\"#8aa6bc\"/>"
    fi
    text 18 12.8 12 "$INK" normal start "记住账号"
    echo '</svg>'
  } | render "fg_check_$1" 67 16
}
check off; check on
on "$T/bg_login.png" 210 177 "$T/fg_check_off.png" check_remember_off
on "$T/bg_login.png" 210 177 "$T/fg_check_on.png" check_remember_on

# ---------------------------------------------------------------- close mark 14x16 (over the right end of a current tab)
{
  svg 14 16
  echo '<circle cx="7" cy="8" r="6.2" fill="#8aa4b8"/>'
  echo '<path d="M4.6 5.6l4.8 4.8M9.4 5.6l-4.8 4.8" stroke="#ffffff" stroke-width="1.6" stroke-linecap="round"/>'
  echo '</svg>'
} | render fg_tabclose 14 16
# drawn over the current-page look of the tab it closes, as that tab shows on the window
convert "$T/bg_main.png" -crop 120x40+298+15 +repage "$T/fg_tab_livetv_disabled.png" -composite "$T/tabshown.png"
on "$T/tabshown.png" 101 2 "$T/fg_tabclose.png" icon_close_tab

# ---------------------------------------------------------------- busy icon 24x24, 12 frames
BUSY_MATTE="#f4f9fc"
frames=()
for i in $(seq 0 11); do
  {
    svg 24 24
    for d in $(seq 0 11); do
      # dot d is (i - d) steps behind the head; older dots fade
      age=$(( (i - d + 12) % 12 ))
      op=$(awk "BEGIN{v=1-$age/9; if(v<0.15)v=0.15; print v}")
      r=$(awk "BEGIN{print ($age<3)?2.3:1.8}")
      ang=$(( d * 30 ))
      echo "<circle cx=\"12\" cy=\"3.4\" r=\"$r\" fill=\"$TEAL\" fill-opacity=\"$op\" transform=\"rotate($ang 12 12)\"/>"
    done
    echo '</svg>'
  } | render "busy$i" 24 24
  convert "$T/busy$i.png" -background "$BUSY_MATTE" -alpha remove -alpha off "$T/busyf$i.png"
  frames+=("$T/busyf$i.png")
done
convert -dispose Background -delay 8 -loop 0 "${frames[@]}" -transparent "$BUSY_MATTE" -dither None +map -strip "$OUT/anim_busy.gif"

# ---------------------------------------------------------------- loading picture 240x320, 16 frames
LOAD_BG="#0d2740"
frames=()
for i in $(seq 0 15); do
  {
    svg 240 320
    cat <<EOF
<rect width="240" height="320" fill="$LOAD_BG"/>
<circle cx="120" cy="128" r="62" fill="none" stroke="#163d5e" stroke-width="8"/>
EOF
    # a bright arc that turns one sixteenth per frame
    ang=$(( i * 360 / 16 ))
    echo "<g transform=\"rotate($ang 120 128)\"><path d=\"M120 66 A62 62 0 0 1 182 128\" fill=\"none\" stroke=\"$TEAL_HI\" stroke-width=\"8\" stroke-linecap=\"round\"/>"
    echo "<path d=\"M182 128 A62 62 0 0 1 163.8 171.8\" fill=\"none\" stroke=\"$TEAL\" stroke-width=\"8\" stroke-linecap=\"round\" stroke-opacity=\"0.55\"/></g>"
    # film reel in the middle
    cat <<EOF
<circle cx="120" cy="128" r="44" fill="#123452"/>
<circle cx="120" cy="128" r="44" fill="none" stroke="#1e4d74" stroke-width="2"/>
EOF
    for k in 0 1 2 3 4 5; do
      echo "<circle cx=\"120\" cy=\"99\" r=\"8\" fill=\"#0d2740\" transform=\"rotate($(( k * 60 - i * 6 )) 120 128)\"/>"
    done
    echo "<circle cx=\"120\" cy=\"128\" r=\"15\" fill=\"url(#orange)\"/>"
    echo '<path d="M115 120v16l13-8z" fill="#ffffff"/>'
    text 120 232 18 "#eaf5fc" bold middle "影片加载中"
    n=$(( i / 4 % 4 )); dots=""
    for _ in $(seq 1 "$n"); do dots="$dots·"; done
    printf '<text x="166" y="232" font-family="%s" font-size="18" fill="#eaf5fc" font-weight="bold">%s</text>\n' "$FONT" "$dots"
    text 120 258 12 "#8fb3cc" normal middle "正在连接播放服务，请稍候"
    # progress strip with moving stripes
    echo '<clipPath id="bar"><rect x="40" y="284" width="160" height="8" rx="4"/></clipPath>'
    echo '<rect x="40" y="284" width="160" height="8" rx="4" fill="#163d5e"/>'
    echo '<g clip-path="url(#bar)">'
    off=$(( i * 4 % 16 ))
    for sx in $(seq -32 16 208); do
      echo "<path d=\"M$((sx + off)) 292l8 -8h8l-8 8z\" fill=\"$TEAL\"/>"
    done
    echo '</g>'
    echo '</svg>'
  } | render "load$i" 240 320
  frames+=("$T/load$i.png")
done
convert -delay 7 -loop 0 "${frames[@]}" -dither None -colors 96 +map -layers Optimize -strip "$OUT/anim_loading.gif"

# ---------------------------------------------------------------- the Qt resource file: :/art/<file name>
{
  echo '<!DOCTYPE RCC>'
  echo '<RCC version="1.0">'
  echo '<qresource prefix="/art">'
  for f in "$OUT"/*.gif; do
    printf '    <file alias="%s">gif/%s</file>\n' "$(basename "$f")" "$(basename "$f")"
  done
  echo '</qresource>'
  echo '</RCC>'
} > "$HERE/art.qrc"

gifs=("$OUT"/*.gif)
echo "make_art.sh: ${#gifs[@]} pictures in $OUT"

# ================================================================ contact sheet: docs/artwork.png
# Four pages put together as the window shows them, then every picture with its name.
SHEET="$HERE/../../docs/artwork.png"
mkdir -p "$(dirname "$SHEET")"
G=$OUT
head_of() { # MYMOVIES_STATE SEARCH_STATE : the window with its top row
  echo "$G/bg_main.gif" \
    "$G/tab_mymovies_$1.gif" -geometry +16+15 -composite \
    "$G/tab_search_$2.gif" -geometry +177+15 -composite \
    "$G/tab_livetv_${3:-normal}.gif" -geometry +298+15 -composite \
    "$G/btn_minimize_normal.gif" -geometry +601+0 -composite \
    "$G/btn_close_normal.gif" -geometry +665+0 -composite
}
sides() { # the five side buttons, the one named in $1 current, $2 hot
  local y n st
  for n in cloudplayer login history downloads favourites; do
    st=normal; [ "$n" = "$2" ] && st=hot; [ "$n" = "$1" ] && st=disabled
    echo "$G/side_${n}_$st.gif" -geometry "+0+${SIDEY[$n]}" -composite
  done
}
# field X Y W H [TEXT] : appends to the array F the drawing of an edit box, as the window will show one
field() {
  F+=(-fill white -stroke "#9fb8cc" -draw "rectangle $1,$2 $(( $1 + $3 - 1 )),$(( $2 + $4 - 1 ))" -stroke none)
  [ -n "${5:-}" ] && F+=(-fill "#8a9aa8" -font Noto-Sans-CJK-SC -pointsize 12 -annotate "+$(( $1 + 6 ))+$(( $2 + $4 / 2 + 5 ))" "$5")
  return 0
}
F=(); field 196 18 400 34 "支持磁力链/ED2K/迅雷/旋风/快车/http/mms/rtsp链接"
# shellcheck disable=SC2046
convert $(head_of disabled normal) \( "$G/bg_cloudplay.gif" $(sides cloudplayer history) "${F[@]}" \) \
  -geometry +1+55 -composite "$T/mock_cloudplay.png"
F=()
# shellcheck disable=SC2046
convert $(head_of disabled normal) \( "$G/bg_login.gif" $(sides login favourites) \
  "$G/check_remember_on.gif" -geometry +210+177 -composite \
  "$G/btn_login_normal.gif" -geometry +210+209 -composite \
  "$G/btn_register_hot.gif" -geometry +360+209 -composite "${F[@]}" \) -geometry +1+55 -composite "$T/mock_login.png"
F=(); field 28 19 400 32 "请输入搜索内容"
# shellcheck disable=SC2046
convert $(head_of normal disabled) \( "$G/bg_search.gif" \
  "$G/btn_search_hot.gif" -geometry +434+18 -composite \
  "$G/btn_loadmore_normal.gif" -geometry +452+342 -composite "${F[@]}" \) -geometry +1+55 -composite "$T/mock_search.png"
# the notice panel in the suggested colours, with a code row, twice as large
{
  svg 280 79
  cat <<EOS
<rect width="280" height="79" fill="#1a6f98"/>
<rect x="1" y="1" width="278" height="38" fill="#f4f9fc"/>
<rect x="1" y="40" width="278" height="38" fill="#f4f9fc"/>
<rect x="5.5" y="43.5" width="99" height="31" fill="#e2e8ee" stroke="#b8c7d4"/>
<rect x="109.5" y="44.5" width="79" height="29" fill="#ffffff" stroke="#9fb8cc"/>
EOS
  text 42 25 12 "$INK" normal start "程序正在分析数据，请耐心等待......"
  text 55 64 14 "#7a8c9c" bold middle "x7Kp"
  echo '</svg>'
} | render notice 280 79
convert "$T/notice.png" "$G/anim_busy.gif[0]" -geometry +8+8 -composite "$G/btn_submit_normal.gif" -geometry +193+44 -composite \
  -scale 200% -background "#dfe6ec" -gravity center -extent 700x455 "$T/mock_notice.png"
# shellcheck disable=SC2046
convert $(head_of normal normal disabled) \( -size 698x374 "xc:$LOAD_BG" \
  "$G/anim_loading.gif[0]" -gravity center -composite \) -gravity northwest -geometry +1+55 -composite \
  "$G/icon_close_tab.gif" -geometry +399+17 -composite "$T/mock_nowplaying.png"
# shellcheck disable=SC2046
convert $(head_of disabled normal) \( "$G/bg_lists.gif" $(sides downloads "") \) \
  -geometry +1+55 -composite "$T/mock_lists.png"
montage -font DejaVu-Sans -pointsize 13 -background "#dfe6ec" -geometry +8+8 -tile 3x \
  -label "cloud play page" "$T/mock_cloudplay.png" -label "login page" "$T/mock_login.png" \
  -label "list pages (downloads current)" "$T/mock_lists.png" \
  -label "search page" "$T/mock_search.png" -label "live TV current, loading picture centred" "$T/mock_nowplaying.png" \
  -label "notice panel, code row shown (x2, suggested colours)" "$T/mock_notice.png" \
  "$T/sheet_top.png"
# every picture by group, each with its file name and size
group() { # OUTPUT TILE FILE... : each picture over its name and size
  local out=$1 tile=$2; shift 2
  local f n w h list=()
  for f in "$@"; do
    n=${f%.gif}
    w=$(identify -format '%W' "$G/${f}[0]"); h=$(identify -format '%H' "$G/${f}[0]")
    convert "$G/${f}[0]" -background "#dfe6ec" -gravity center -extent "$(( w < 190 ? 190 : w ))x$(( h < 40 ? 40 : h ))" \
      -set label "$n\n${w}x$h" "$T/pad_$n.png"
    list+=("$T/pad_$n.png")
  done
  montage -font DejaVu-Sans -pointsize 11 -background "#dfe6ec" -geometry +6+6 -tile "$tile" "${list[@]}" "$out"
}
group "$T/g_tabs.png" 3x tab_mymovies_{normal,hot,disabled}.gif tab_search_{normal,hot,disabled}.gif \
  tab_livetv_{normal,hot,disabled}.gif tab_nowplaying_{normal,hot,disabled}.gif
group "$T/g_side.png" 3x side_cloudplayer_{normal,hot,disabled}.gif side_login_{normal,hot,disabled}.gif \
  side_history_{normal,hot,disabled}.gif side_downloads_{normal,hot,disabled}.gif side_favourites_{normal,hot,disabled}.gif
group "$T/g_btn.png" 3x btn_minimize_{normal,hot}.gif btn_close_{normal,hot}.gif btn_search_{normal,hot}.gif \
  btn_login_{normal,hot}.gif btn_register_{normal,hot}.gif btn_submit_{normal,hot}.gif btn_loadmore_{normal,hot}.gif \
  check_remember_{off,on}.gif icon_close_tab.gif anim_busy.gif
convert -background "#dfe6ec" "$T/g_tabs.png" "$T/g_side.png" "$T/g_btn.png" -gravity north +append "$T/sheet_parts.png"
# the animations, frame by frame
convert "$G/anim_busy.gif" -coalesce -scale 200% +append "$T/busy_row.png"
convert "$G/anim_loading.gif" -coalesce -delete 1,2,3,5,6,7,9,10,11,13,14,15 +append "$T/load_row.png"
montage -font DejaVu-Sans -pointsize 13 -background "#dfe6ec" -geometry +8+8 -tile 1x \
  -label "anim_busy.gif frames (x2)" "$T/busy_row.png" -label "anim_loading.gif frames 1,5,9,13" "$T/load_row.png" \
  "$T/sheet_anim.png"
convert -background "#dfe6ec" "$T/sheet_top.png" "$T/sheet_parts.png" "$T/sheet_anim.png" -gravity center -append \
  -depth 8 -strip -colors 255 "PNG8:$SHEET"
echo "make_art.sh: contact sheet $SHEET"
