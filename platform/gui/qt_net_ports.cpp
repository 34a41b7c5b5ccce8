#include "platform/gui/qt_net_ports.h"

#include <QDesktopServices>
#include <QMetaObject>
#include <QProcess>
#include <QUrl>

namespace quorvel {

void QtEventPort::Post(std::function<void()> event) {
    QMetaObject::invokeMethod(context_, std::move(event), Qt::QueuedConnection);
}

bool QtUrlOpener::OpenUrl(const std::string& url) {
    const QByteArray encoded = QByteArray::fromStdString(url);
    const QUrl address = QUrl::fromEncoded(encoded, QUrl::StrictMode);
    if (!address.isValid()) return false;
    // Platforms without a desktop of their own (offscreen, minimal) cannot open addresses; the
    // freedesktop opener still can.
    if (QDesktopServices::openUrl(address)) return true;
    return QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromLatin1(encoded)});
}

}  // namespace quorvel
