#include "platform/gui/qt_text.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QStringList>

#include "platform/text_codec.h"

namespace quorvel {

QString ToQString(const std::string& cp932) {
    const std::u16string utf16 = Cp932ToUtf16(cp932);
    return QString::fromUtf16(utf16.data(), static_cast<qsizetype>(utf16.size()));
}

void PreferJapaneseFonts() {
    QFont font = QApplication::font();
    // The family the system really gives for the default font (fontconfig's alias resolved), then the
    // Japanese fonts fontconfig chose for Japanese before other CJK fonts came in.
    QStringList families{QFontInfo(font).family()};
    families << QStringLiteral("IPAGothic") << QStringLiteral("IPAPGothic");
    font.setFamilies(families);
    QApplication::setFont(font);
}

std::string FromQString(const QString& text) {
    return Utf16ToCp932(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                            static_cast<std::size_t>(text.size())));
}

QString LinesToQString(const std::string& cp932) {
    QString q = ToQString(cp932);
    q.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    q.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return q;
}

std::string LinesFromQString(QString text) {
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return FromQString(text);
}

}  // namespace quorvel
