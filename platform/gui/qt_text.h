// The one crossing between the program's Shift-JIS texts and Qt's strings.
#pragma once

#include <QString>
#include <string>

namespace quorvel {

QString ToQString(const std::string& cp932);

// The application font draws Japanese with the IPA fonts before any other font of the system; fonts
// installed for Chinese and Korean records (which fontconfig may prefer for every CJK character) draw only
// what the Japanese fonts lack. Called once, right after the QApplication is made.
void PreferJapaneseFonts();
std::string FromQString(const QString& text);

// The program's texts end their lines with CR LF; an edit box holds plain line feeds.
QString LinesToQString(const std::string& cp932);
std::string LinesFromQString(QString text);

}  // namespace quorvel
