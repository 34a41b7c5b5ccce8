// The HTML pages of a record: the page with the board-replay applet ("Glimmet" package) that carries the
// record's SGF text and the viewer settings as applet parameters, the page that shows a text board, and the
// page of the chat log with its own applet. Pages are Shift-JIS text with CR LF line ends. Every text that
// comes from the record, the user or the other player is escaped, so nothing in it can end an attribute or
// open an element; a browser hands the applet the original text.
#pragma once

#include <string>

#include "core/engine.h"

namespace quorvel {

// What the pages take from the settings file.
struct HtmlSettings {
    std::string appCodeBase = "MyZarn";
    std::string appWidth = "454";
    std::string appHeight = "494";
    std::string htmlColor = "f8e0e0";  // page background, six hexadecimal digits
};

// `&`, `<`, `>` and `"` as character references; every other byte (Shift-JIS second bytes never fall on
// these four) stays.
std::string EscapeHtml(const std::string& text);

// The bytes of a page as written: its Shift-JIS text, with each character Shift-JIS lacks (a user-defined
// code that `foreign` holds: the Hangul of a record, say) written as a character reference, which a browser
// reads whatever the page's charset.
std::string PageBytes(const std::string& page, const ForeignCharacters* foreign);

// "ZarnShow13", "ZarnShow9" or "ZarnShow" by the board's size.
const char* AppletClassName(int boardSize);

// The optional parameter lines, each ended by CR LF, for every setting that differs from the applet's own
// default; empty for default settings. `advanceMoves` is the user's choice of the settings dialog.
std::string AppletParams(const Engine& e, bool advanceMoves);

// The page the save name exports beside its SGF copy: `title` is the save name, `sgf` the record text.
// `foreign` (may be null) holds the record's characters Shift-JIS lacks, for the replay board's texts.
std::string ExportPageText(const std::string& title, const std::string& sgf, int boardSize,
                           const HtmlSettings& html, const std::string& params,
                           const ForeignCharacters* foreign = nullptr);

// What the text window holds, for the HTML save command.
enum class HtmlSource { None, Sgf, TextBoard };
// SGF when the text holds "(;"; a text board when it holds a text board's title or its closing line
// (boards without moves and range boards have no title); otherwise nothing to save.
HtmlSource HtmlSourceOf(const std::string& text);

// The page of the HTML save command: the applet with the SGF text, centred, or the text board itself.
std::string SavedPageText(const std::string& title, const std::string& text, int boardSize,
                          const HtmlSettings& html, const std::string& params,
                          const ForeignCharacters* foreign = nullptr);

// The chat log's page: the log applet with the log (and the board diagrams, when `diagramText` is not
// empty) as its parameter, every line after the first begun with "___".
std::string ChatPageText(const std::string& title, const std::string& logText, const std::string& diagramText,
                         const HtmlSettings& html);

// A save name must be one plain file name: no folder, no extension, no control character.
bool IsPlainSaveName(const std::string& name);

}  // namespace quorvel
