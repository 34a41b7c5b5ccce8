// The one crossing between the program's Shift-JIS texts and Qt's strings.
#pragma once

#include <QString>
#include <string>

namespace quorvel {

QString ToQString(const std::string& cp932);
std::string FromQString(const QString& text);

// The program's texts end their lines with CR LF; an edit box holds plain line feeds.
QString LinesToQString(const std::string& cp932);
std::string LinesFromQString(QString text);

}  // namespace quorvel
