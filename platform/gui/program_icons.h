// The icons of the program folder's bmp/icons/, read from the one strip that icon_gen draws them into
// (strip.png, named in order by strip.txt): a start decodes one picture instead of forty. An icon the
// strip lacks is read from its own file.
#pragma once

#include <QHash>
#include <QIcon>
#include <QImage>
#include <QString>

namespace quorvel {

class ProgramIcons {
public:
    explicit ProgramIcons(const QString& programDir);
    // The icon `name` ("KFO", "switch", ...); no icon when neither the strip nor a file has it.
    QIcon Icon(const QString& name);

private:
    QString folder_;
    bool stripRead_ = false;
    QImage strip_;
    QHash<QString, int> places_;
};

}  // namespace quorvel
