#include "formats/html_page.h"

#include <cstdio>
#include <cstring>

#include "formats/record_encoding.h"
#include "formats/replay_board.h"
#include "formats/text_board.h"

namespace quorvel {
namespace {

const char* const kCrLf = "\r\n";
// The title of a text board's diagram with moves; every text board ends with kTextBoardClosing.
const char* const kTextBoardTitle = "Board <";

// The markup a text board carries of its own (TextAddPre, TextUseColor): the page shows it as markup.
const char* const kTextBoardTags[] = {"<pre><tt>", "</tt></pre>", "<font color=blue>", "<font color=red>",
                                      "</font>"};

void AppendEscaped(std::string& out, char c) {
    switch (c) {
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
        default:
            out += c;
    }
}

// A text board with everything escaped but its own tags.
std::string EscapeTextBoard(const std::string& text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size();) {
        bool tag = false;
        for (const char* t : kTextBoardTags) {
            const std::size_t n = std::strlen(t);
            if (text.compare(i, n, t) == 0) {
                out.append(t, n);
                i += n;
                tag = true;
                break;
            }
        }
        if (!tag) AppendEscaped(out, text[i++]);
    }
    return out;
}

std::string PageHead(const std::string& title, const HtmlSettings& html) {
    return "<HTML>\r\n<HEAD>\r\n<TITLE>" + EscapeHtml(title) + "</TITLE>\r\n</HEAD>\r\n<BODY BGCOLOR=\"#" +
           EscapeHtml(html.htmlColor) + "\" TOPMARGIN=1 MARGINHEIGHT=1>\r\n";
}

std::string AppletTag(int boardSize, const HtmlSettings& html) {
    return "<APPLET CODEBASE=\"" + EscapeHtml(html.appCodeBase) + "\" CODE=\"Glimmet." +
           AppletClassName(boardSize) + ".class\" WIDTH=" + EscapeHtml(html.appWidth) +
           " HEIGHT=" + EscapeHtml(html.appHeight) + ">\r\n";
}

// The moves parameter: the record text ends without a line break, the quote closes on the next line.
std::string MovesParam(const std::string& sgf) {
    return "<PARAM NAME=\"moves\" VALUE=\"" + EscapeHtml(sgf) + "\r\n\">\r\n";
}

}  // namespace

std::string EscapeHtml(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) AppendEscaped(out, c);
    return out;
}

std::string PageBytes(const std::string& page, const ForeignCharacters* foreign) {
    if (!foreign || foreign->empty()) return page;
    std::string out;
    out.reserve(page.size());
    for (std::size_t i = 0; i < page.size(); ++i) {
        const auto b = static_cast<unsigned char>(page[i]);
        if (!IsCp932LeadByte(b) || i + 1 == page.size()) {
            out += page[i];
            continue;
        }
        const unsigned code = static_cast<unsigned>(b) << 8 | static_cast<unsigned char>(page[i + 1]);
        const char32_t c = IsUserDefinedLead(b) ? foreign->CharacterOf(code) : 0;
        if (c != 0) {
            char reference[16];
            std::snprintf(reference, sizeof reference, "&#x%X;", static_cast<unsigned>(c));
            out += reference;
        } else {
            out.append(page, i, 2);
        }
        ++i;
    }
    return out;
}

const char* AppletClassName(int boardSize) {
    if (boardSize == 13) return "ZarnShow13";
    if (boardSize == 9) return "ZarnShow9";
    return "ZarnShow";
}

std::string AppletParams(const Engine& e, bool advanceMoves) {
    const Settings& s = e.settings;
    std::string out;
    const auto param = [&out](bool when, const std::string& line) {
        if (when) out += line + kCrLf;
    };
    param(s.showXY, "<PARAM NAME=showxy VALUE=true>");
    param(s.textUseNew, "<PARAM NAME=textusenew VALUE=true>");
    param(s.salala, "<PARAM NAME=salala VALUE=true>");
    param(s.allShow, "<PARAM NAME=allshow VALUE=true>");
    param(s.textUseColor, "<PARAM NAME=textusecolor VALUE=true>");
    param(s.textAddPre, "<PARAM NAME=textaddpre VALUE=true>");
    param(advanceMoves, "<PARAM NAME=advancemoves VALUE=true>");
    param(s.zarnStyle, "<PARAM NAME=zarnstyle VALUE=true>");
    param(!e.hintsShown, "<PARAM NAME=zarnhint VALUE=false>");
    param(!s.asOption, "<PARAM NAME=asoption VALUE=false>");
    param(!s.noZarnNoHint, "<PARAM NAME=nozarnnohint VALUE=false>");
    param(!s.number, "<PARAM NAME=number VALUE=false>");
    param(!s.macMouse, "<PARAM NAME=mouse VALUE=2>");
    param(s.goBanXY != "A-19", "<PARAM NAME=gobanxy VALUE=" + EscapeHtml(s.goBanXY) + ">");
    param(s.textBMoves != 99, "<PARAM NAME=textbmoves VALUE=" + std::to_string(s.textBMoves) + ">");
    return out;
}

namespace {

// The record a page carries: a record of another encoding gets its comments' SGF characters back, as a
// save writes them.
std::string AsRead(const std::string& sgf, const ForeignCharacters* foreign) {
    return foreign && foreign->formsSeparated ? ProtectionFormsUndone(sgf) : sgf;
}

}  // namespace

std::string ExportPageText(const std::string& title, const std::string& record, int boardSize,
                           const HtmlSettings& html, const std::string& params, const ForeignCharacters* foreign) {
    const std::string sgf = AsRead(record, foreign);
    return PageHead(title, html) + AppletTag(boardSize, html) + params + MovesParam(sgf) +
           ReplayBoardHtml(sgf, boardSize, foreign) + "</APPLET>\r\n</BODY>\r\n</HTML>\r\n";
}

HtmlSource HtmlSourceOf(const std::string& text) {
    if (text.find("(;") != std::string::npos) return HtmlSource::Sgf;
    if (text.find(kTextBoardTitle) != std::string::npos ||
        text.find(kTextBoardClosing) != std::string::npos) {
        return HtmlSource::TextBoard;
    }
    return HtmlSource::None;
}

std::string SavedPageText(const std::string& title, const std::string& text, int boardSize,
                          const HtmlSettings& html, const std::string& params, const ForeignCharacters* foreign) {
    std::string page = PageHead(title, html);
    if (HtmlSourceOf(text) == HtmlSource::Sgf) {
        const std::string sgf = AsRead(text, foreign);
        page +=
            "<CENTER>" + AppletTag(boardSize, html) + params + MovesParam(sgf) + ReplayBoardHtml(sgf, boardSize, foreign) +
            "</APPLET></CENTER>\r\n";
    } else {
        page += EscapeTextBoard(text) + kCrLf;
    }
    return page + "</BODY>\r\n</HTML>\r\n";
}

std::string ChatPageText(const std::string& title, const std::string& logText, const std::string& diagramText,
                         const HtmlSettings& html) {
    std::string log = "Oskelt - Oskelt - チャットログ\r\n\r\n" + logText;
    if (!diagramText.empty()) log += "\r\n\r\n---碁盤データ---\r\n\r\n" + diagramText;
    std::string marked;
    marked.reserve(log.size() + log.size() / 16);
    for (std::size_t i = 0; i < log.size(); ++i) {
        marked += log[i];
        if (log[i] == '\n' && i > 0 && log[i - 1] == '\r') marked += "___";
    }
    // The log applet's tag has no blank before CODE, as the applet has always been named.
    return "<HTML>\r\n<HEAD>\r\n<TITLE>" + EscapeHtml(title) + "</TITLE></HEAD>\r\n<BODY BGCOLOR=\"#" +
           EscapeHtml(html.htmlColor) + "\"><CENTER>\r\n<APPLET CODEBASE=\"" + EscapeHtml(html.appCodeBase) +
           "\"CODE=\"Glimmet.KifuLog.class\" WIDTH=595 HEIGHT=424>\r\n<PARAM NAME=logfile VALUE=\"\r\n" +
           EscapeHtml(marked) + "\r\n\">\r\n</APPLET></CENTER>\r\n</BODY></HTML>\r\n";
}

bool IsPlainSaveName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '.' || u < 0x20 || u == 0x7f) return false;
    }
    return true;
}

}  // namespace quorvel
