#include "platform/gui/qt_sound.h"

#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <utility>

namespace quorvel {

QtSound::QtSound(QString path) : path_(std::move(path)) {}

QtSound::~QtSound() = default;

void QtSound::Play() {
    if (!checked_) {
        checked_ = true;
        if (QMediaDevices::audioOutputs().isEmpty() || !QFileInfo::exists(path_)) return;
        effect_ = std::make_unique<QSoundEffect>();
        effect_->setSource(QUrl::fromLocalFile(path_));
    }
    if (effect_) effect_->play();
}

}  // namespace quorvel
