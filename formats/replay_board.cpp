#include "formats/replay_board.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/text_codec.h"

namespace quorvel {
namespace {

const char* const kCrLf = "\r\n";

// Where a node of the tree hangs while its group is read.
struct OpenGroup {
    int last;         // the node read last in this group (the parent of the next one)
    bool afterGroup;  // a variation group closed since that node: the next node is the line going on
};

// A point "pd" on the board, or -1 (a pass: "", "tt", anything off the board).
int PointOf(const std::string& value, int size) {
    if (value.size() != 2) return -1;
    const int x = value[0] - 'a';
    const int y = value[1] - 'a';
    if (x < 0 || y < 0 || x >= size || y >= size) return -1;
    return y * size + x;
}

// The points of a setup list value: one point or a rectangle "aa:cc".
void AddPoints(const std::string& value, int size, std::vector<int>& points) {
    if (value.size() == 5 && value[2] == ':') {
        const int from = PointOf(value.substr(0, 2), size);
        const int to = PointOf(value.substr(3, 2), size);
        if (from < 0 || to < 0) return;
        for (int y = std::min(from / size, to / size); y <= std::max(from / size, to / size); ++y) {
            for (int x = std::min(from % size, to % size); x <= std::max(from % size, to % size); ++x) {
                points.push_back(y * size + x);
            }
        }
        return;
    }
    const int p = PointOf(value, size);
    if (p >= 0) points.push_back(p);
}

// A comment's value as the program reads it: escapes taken away, "___" and "//" (not of an address) as
// line breaks.
std::string CommentText(const std::string& raw) {
    std::string out;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const auto b = static_cast<unsigned char>(raw[i]);
        if (raw[i] == '\\' && i + 1 < raw.size()) {
            out += raw[++i];
        } else if (IsCp932LeadByte(b) && i + 1 < raw.size()) {
            out.append(raw, i++, 2);
        } else if (raw.compare(i, 3, "___") == 0) {
            out += kCrLf;
            i += 2;
        } else if (raw.compare(i, 2, "//") == 0 && (i == 0 || raw[i - 1] != ':')) {
            out += kCrLf;
            i += 1;
        } else {
            out += raw[i];
        }
    }
    return out;
}

// A value's bytes from just after its "[" to its closing "]": a byte after "\" and the second byte of a
// two-byte character are never the end. `i` is left after the "]".
std::string ReadValue(const std::string& sgf, std::size_t& i) {
    std::string value;
    while (i < sgf.size() && sgf[i] != ']') {
        const auto b = static_cast<unsigned char>(sgf[i]);
        if ((sgf[i] == '\\' || IsCp932LeadByte(b)) && i + 1 < sgf.size()) value += sgf[i++];
        value += sgf[i++];
    }
    ++i;
    return value;
}

void TakeProperty(ReplayNode& node, const std::string& name, const std::string& value, int size) {
    if (name == "B" || name == "W") {
        node.colour = name == "B" ? 1 : 2;
        node.point = PointOf(value, size);
    } else if (name == "AB") {
        AddPoints(value, size, node.black);
    } else if (name == "AW") {
        AddPoints(value, size, node.white);
    } else if (name == "AE") {
        AddPoints(value, size, node.empty);
    } else if (name == "C" || name == "GC") {
        if (!node.comment.empty()) node.comment += kCrLf;
        node.comment += CommentText(value);
    }
}

// A text as a JavaScript string literal of ASCII: every character beyond it, and every character that could
// end the script or a string ("<", ">", "&", quotes, the backslash), as a \u escape.
std::string ScriptString(const std::string& cp932, const ForeignCharacters* foreign) {
    std::string out = "\"";
    for (const char32_t c : Cp932ToUnicode(cp932, foreign)) {
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\' && c != '<' && c != '>' && c != '&' && c != '\'') {
            out += static_cast<char>(c);
            continue;
        }
        const auto unit = [&out](unsigned u) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", u);
            out += hex;
        };
        if (c > 0xffff) {
            unit(0xd800 + ((c - 0x10000) >> 10));
            unit(0xdc00 + ((c - 0x10000) & 0x3ff));
        } else {
            unit(static_cast<unsigned>(c));
        }
    }
    return out + "\"";
}

std::string ScriptList(const std::vector<int>& values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) out += (i ? "," : "") + std::to_string(values[i]);
    return out + "]";
}

// The root's value of a game-information property, as read.
std::string RootValue(const std::string& sgf, const char* name) {
    std::size_t i = 0;
    const std::string key = std::string(name) + "[";
    // Only the head, before the first move's node.
    const std::size_t head = sgf.find(';', sgf.find(';') + 1);
    for (;;) {
        i = sgf.find(key, i);
        if (i == std::string::npos || i >= head) return std::string();
        const bool own = i == 0 || sgf[i - 1] < 'A' || sgf[i - 1] > 'Z';
        i += key.size();
        const std::string value = ReadValue(sgf, i);
        if (own) return CommentText(value);
    }
}

// The board's colours are the program's: the kaya wood of its board picture, its window green, its
// stones' shading and the blue of its buttons.
const char* const kStyle =
    "<style>\r\n"
    "#qv{display:inline-block;background:#c0f0c0;padding:6px;font:14px sans-serif;color:#000;text-align:left}\r\n"
    "#qv button{background:linear-gradient(#6080b0,#243a68);color:#fff;border:1px solid #243a68;"
    "border-radius:3px;min-width:44px;height:26px;font:bold 14px sans-serif;cursor:pointer}\r\n"
    "#qv-nav{margin:4px 0;white-space:nowrap}\r\n"
    "#qv-move{display:inline-block;min-width:64px;text-align:right}\r\n"
    "#qv-comment{white-space:pre-wrap;background:#fff;border:1px solid #90b0a0;min-height:3em;padding:4px;"
    "box-sizing:border-box}\r\n"
    "</style>\r\n";

const char* const kScript = R"JS(
(function(){
var D=QV_DATA,N=D.size,nodes=D.nodes,svg=document.getElementById("qv-board");
var NS="http://www.w3.org/2000/svg",S=D.step,O=D.origin;
var path=[0];
function cur(){return path[path.length-1];}
function groupOf(b,p){var c=b[p],seen={},todo=[p],g=[],libs=0;seen[p]=1;
 while(todo.length){var q=todo.pop();g.push(q);var x=q%N,y=(q-x)/N;
  var nb=[];if(x>0)nb.push(q-1);if(x<N-1)nb.push(q+1);if(y>0)nb.push(q-N);if(y<N-1)nb.push(q+N);
  for(var i=0;i<nb.length;i++){var r=nb[i];if(seen[r])continue;seen[r]=1;
   if(b[r]==c)todo.push(r);else if(b[r]==0)libs++;}}
 return {stones:g,libs:libs};}
function play(b,c,p){b[p]=c;var x=p%N,y=(p-x)/N,nb=[];
 if(x>0)nb.push(p-1);if(x<N-1)nb.push(p+1);if(y>0)nb.push(p-N);if(y<N-1)nb.push(p+N);
 for(var i=0;i<nb.length;i++){if(b[nb[i]]==3-c){var g=groupOf(b,nb[i]);
  if(g.libs==0)for(var k=0;k<g.stones.length;k++)b[g.stones[k]]=0;}}
 var own=groupOf(b,p);if(own.libs==0)for(var k=0;k<own.stones.length;k++)b[own.stones[k]]=0;}
function position(){var b=[],moves=0;for(var i=0;i<N*N;i++)b.push(0);
 for(var j=0;j<path.length;j++){var n=nodes[path[j]];
  n[3].forEach(function(p){b[p]=1;});n[4].forEach(function(p){b[p]=2;});n[5].forEach(function(p){b[p]=0;});
  if(n[0]){moves++;if(n[1]>=0)play(b,n[0],n[1]);}}
 return {board:b,moves:moves};}
function el(name,attrs,text){var e=document.createElementNS(NS,name);
 for(var k in attrs)e.setAttribute(k,attrs[k]);if(text!==undefined)e.textContent=text;return e;}
function go(i){var n=nodes[cur()];if(i<n[6].length){path.push(n[6][i]);return true;}return false;}
function back(){if(path.length>1){path.pop();return true;}return false;}
function draw(){var pos=position(),b=pos.board,g=document.getElementById("qv-stones");
 while(g.firstChild)g.removeChild(g.firstChild);
 for(var p=0;p<N*N;p++){if(!b[p])continue;var x=p%N,y=(p-x)/N;
  g.appendChild(el("circle",{cx:O+x*S,cy:O+y*S,r:S*0.48,fill:b[p]==1?"url(#qvB)":"url(#qvW)",
   stroke:b[p]==1?"#000":"#8c8a82","stroke-width":0.6,"class":"qv-stone","data-p":p,
   "data-c":b[p]==1?"b":"w"}));}
 var n=nodes[cur()];
 if(n[0]&&n[1]>=0&&b[n[1]]){var x=n[1]%N,y=(n[1]-x)/N;
  g.appendChild(el("circle",{cx:O+x*S,cy:O+y*S,r:S*0.2,fill:"none",stroke:b[n[1]]==1?"#fff":"#000",
   "stroke-width":1.5}));}
 if(n[6].length>1)n[6].forEach(function(c,i){var m=nodes[c];if(m[1]<0)return;var x=m[1]%N,y=(m[1]-x)/N;
  g.appendChild(el("circle",{cx:O+x*S,cy:O+y*S,r:S*0.42,fill:"#ebbd75"}));
  var t=el("text",{x:O+x*S,y:O+y*S+S*0.3,"text-anchor":"middle","font-size":S*0.8,"font-weight":"bold",
   fill:"#d00000","class":"qv-variation","data-v":i+1,style:"cursor:pointer"},String.fromCharCode(65+i));
  t.addEventListener("click",function(){go(i);draw();});g.appendChild(t);});
 var mv=document.getElementById("qv-move");mv.textContent=pos.moves+"\u624b";mv.setAttribute("data-n",pos.moves);
 var vs=document.getElementById("qv-variations");
 vs.textContent=n[6].length>1?(n[6].length+"\u3064\u306e\u5909\u5316"):"";
 document.getElementById("qv-comment").textContent=n[2];}
function first(){path=[0];}
function last(){while(go(0));}
function step(k,f){for(var i=0;i<k&&f();i++);}
document.getElementById("qv-first").onclick=function(){first();draw();};
document.getElementById("qv-back").onclick=function(){back();draw();};
document.getElementById("qv-forward").onclick=function(){go(0);draw();};
document.getElementById("qv-last").onclick=function(){last();draw();};
document.getElementById("qv").addEventListener("keydown",function(e){
 var k={ArrowLeft:back,ArrowRight:function(){return go(0);},Home:first,End:last}[e.key];
 if(k){k();draw();e.preventDefault();}});
function fromFragment(){first();var h=location.hash.replace(/^#/,"");
 try{h=decodeURIComponent(h);}catch(e){}
 h.split(",").forEach(function(t){
  if(/^\d+$/.test(t))step(+t,function(){return go(0);});
  else if(/^v\d+$/.test(t))go(+t.slice(1)-1);
  else if(/^b\d+$/.test(t))step(+t.slice(1),back);
  else if(t=="end")last();});
 draw();}
window.addEventListener("hashchange",fromFragment);
document.getElementById("qv-info").textContent=D.info;
fromFragment();
})();
)JS";

}  // namespace

std::vector<ReplayNode> ReplayTreeOf(const std::string& sgf, int size) {
    std::vector<ReplayNode> nodes;
    std::vector<OpenGroup> open;
    const auto addNode = [&nodes, &open] {
        OpenGroup& g = open.back();
        const int index = static_cast<int>(nodes.size());
        nodes.emplace_back();
        if (g.last >= 0) {
            std::vector<int>& siblings = nodes[static_cast<std::size_t>(g.last)].children;
            // A node of the group itself after a variation group: the line goes on with it.
            if (g.afterGroup) {
                siblings.insert(siblings.begin(), index);
            } else {
                siblings.push_back(index);
            }
        }
        g.last = index;
        g.afterGroup = false;
    };
    std::string name;
    for (std::size_t i = 0; i < sgf.size();) {
        const char c = sgf[i];
        const auto b = static_cast<unsigned char>(c);
        if (c == '(') {
            // Groups after the record's own are the first move's alternatives (the inline layout).
            open.push_back({open.empty() ? (nodes.empty() ? -1 : 0) : open.back().last, false});
            ++i;
        } else if (c == ')') {
            if (!open.empty()) open.pop_back();
            if (!open.empty()) open.back().afterGroup = true;
            ++i;
        } else if (c == ';' && !open.empty()) {
            addNode();
            name.clear();
            ++i;
        } else if (c == '[') {
            ++i;
            const std::string value = ReadValue(sgf, i);
            if (!open.empty() && !nodes.empty() && open.back().last >= 0) {
                TakeProperty(nodes[static_cast<std::size_t>(open.back().last)], name, value, size);
            }
        } else if (c >= 'A' && c <= 'Z') {
            // A new name after a value; letters of one name run together.
            if (i == 0 || sgf[i - 1] < 'A' || sgf[i - 1] > 'Z') name.clear();
            name += c;
            ++i;
        } else {
            i += IsCp932LeadByte(b) && i + 1 < sgf.size() ? 2 : 1;
        }
    }
    if (nodes.empty()) nodes.emplace_back();
    return nodes;
}

std::string ReplayBoardHtml(const std::string& sgf, int size, const ForeignCharacters* foreign) {
    // The record's own size where the text names one (a text edited in the text window may).
    const std::string named = RootValue(sgf, "SZ");
    if (!named.empty()) size = std::atoi(named.c_str());
    if (size < 2 || size > 25) size = 19;
    const std::vector<ReplayNode> nodes = ReplayTreeOf(sgf, size);
    // The board keeps about the applet's width whatever its size.
    const int step = size <= 9 ? 40 : size <= 13 ? 30 : 22;
    const int origin = step;
    const int side = origin * 2 + step * (size - 1);
    std::string out = "<div id=\"qv\" tabindex=\"0\">\r\n";
    out += kStyle;
    out += "<div id=\"qv-info\"></div>\r\n";
    out += "<svg id=\"qv-board\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(side) +
           "\" height=\"" + std::to_string(side) + "\" viewBox=\"0 0 " + std::to_string(side) + " " +
           std::to_string(side) + "\">\r\n";
    out += "<defs><radialGradient id=\"qvB\" cx=\"35%\" cy=\"30%\" r=\"70%\"><stop offset=\"0\" "
           "stop-color=\"#78787c\"/><stop offset=\"0.25\" stop-color=\"#343438\"/><stop offset=\"0.7\" "
           "stop-color=\"#0e0e10\"/><stop offset=\"1\" stop-color=\"#000\"/></radialGradient>"
           "<radialGradient id=\"qvW\" cx=\"35%\" cy=\"30%\" r=\"70%\"><stop offset=\"0\" stop-color=\"#fff\"/>"
           "<stop offset=\"0.45\" stop-color=\"#f0efe8\"/><stop offset=\"0.8\" stop-color=\"#cdcbc2\"/>"
           "<stop offset=\"1\" stop-color=\"#a09e96\"/></radialGradient></defs>\r\n";
    out += "<rect width=\"" + std::to_string(side) + "\" height=\"" + std::to_string(side) +
           "\" fill=\"#ebbd75\" stroke=\"#785428\"/>\r\n<g stroke=\"#000\" stroke-width=\"1\">";
    const int end = origin + step * (size - 1);
    for (int k = 0; k < size; ++k) {
        const std::string at = std::to_string(origin + k * step);
        out += "<line x1=\"" + std::to_string(origin) + "\" y1=\"" + at + "\" x2=\"" + std::to_string(end) +
               "\" y2=\"" + at + "\"/><line x1=\"" + at + "\" y1=\"" + std::to_string(origin) + "\" x2=\"" + at +
               "\" y2=\"" + std::to_string(end) + "\"/>";
    }
    out += "</g>\r\n<g fill=\"#000\">";
    // Star points where the board has them.
    std::vector<int> stars;
    if (size == 19) stars = {3, 9, 15};
    if (size == 13) stars = {3, 6, 9};
    if (size == 9) stars = {2, 4, 6};
    for (int y : stars) {
        for (int x : stars) {
            // Smaller boards have no star points at the middle of their edges.
            const bool edgeMiddle = (x == size / 2) != (y == size / 2);
            if (size < 19 && edgeMiddle) continue;
            out += "<circle cx=\"" + std::to_string(origin + x * step) + "\" cy=\"" +
                   std::to_string(origin + y * step) + "\" r=\"" + std::to_string(step / 8 + 1) + "\"/>";
        }
    }
    out += "</g>\r\n<g id=\"qv-stones\"></g>\r\n</svg>\r\n";
    out += "<div id=\"qv-nav\"><button id=\"qv-first\" title=\"first\">|&lt;</button> "
           "<button id=\"qv-back\" title=\"back\">&lt;</button> "
           "<button id=\"qv-forward\" title=\"forward\">&gt;</button> "
           "<button id=\"qv-last\" title=\"last\">&gt;|</button> "
           "<span id=\"qv-move\"></span> <span id=\"qv-variations\"></span></div>\r\n";
    out += "<div id=\"qv-comment\" style=\"width:" + std::to_string(side) + "px\"></div>\r\n";
    // The record: per node its move's colour and point, comment, setup lists and children.
    std::string data = "var QV_DATA={size:" + std::to_string(size) + ",step:" + std::to_string(step) +
                       ",origin:" + std::to_string(origin) + ",info:";
    const std::string black = RootValue(sgf, "PB");
    const std::string white = RootValue(sgf, "PW");
    data += ScriptString(black.empty() && white.empty() ? std::string() : "黒 " + black + "  白 " + white, foreign);
    data += ",nodes:[\r\n";
    for (std::size_t k = 0; k < nodes.size(); ++k) {
        const ReplayNode& n = nodes[k];
        data += "[" + std::to_string(n.colour) + "," + std::to_string(n.point) + "," + ScriptString(n.comment, foreign) +
                "," + ScriptList(n.black) + "," + ScriptList(n.white) + "," + ScriptList(n.empty) + "," +
                ScriptList(n.children) + "]" + (k + 1 < nodes.size() ? ",\r\n" : "");
    }
    data += "]};";
    std::string script = kScript;
    // The script's own lines end as the page's do.
    std::string body;
    for (char c : script) {
        if (c == '\n') body += '\r';
        body += c;
    }
    out += "<script>\r\n" + data + body + "</script>\r\n</div>\r\n";
    return out;
}

}  // namespace quorvel
