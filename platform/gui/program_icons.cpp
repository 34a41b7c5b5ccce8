#include "platform/gui/program_icons.h"

#include <QFile>
#include <QPixmap>

#include "platform/gui/qt_ports.h"

namespace quorvel {

namespace {

constexpr int kIconSize = 16;

}  // namespace

ProgramIcons::ProgramIcons(const QString& programDir) : folder_(programDir + QStringLiteral("/bmp/icons/")) {}

QIcon ProgramIcons::Icon(const QString& name) {
    if (!stripRead_) {
        stripRead_ = true;
        QFile index(folder_ + QStringLiteral("strip.txt"));
        strip_ = ReadImageFile(folder_ + QStringLiteral("strip.png"), "PNG");
        if (!strip_.isNull() && index.open(QIODevice::ReadOnly)) {
            const QList<QByteArray> names = index.readAll().split('\n');
            for (int k = 0; k < names.size() && (k + 1) * kIconSize <= strip_.width(); ++k) {
                if (!names[k].isEmpty()) places_.insert(QString::fromLatin1(names[k]), k);
            }
        }
    }
    const auto place = places_.constFind(name);
    const QImage image = place != places_.constEnd()
                             ? strip_.copy(*place * kIconSize, 0, kIconSize, kIconSize)
                             : ReadImageFile(folder_ + name + QStringLiteral(".png"), "PNG");
    return image.isNull() ? QIcon() : QIcon(QPixmap::fromImage(image));
}

}  // namespace quorvel
