#include "platform/gui/qt_sound.h"

#include <QLibrary>
#include <utility>

namespace quorvel {

QString SoundModulePath(const QString& programDir) { return programDir + QStringLiteral("/quorvel_sound.so"); }

QtSound::QtSound(QString programDir, QString path) : programDir_(std::move(programDir)), path_(std::move(path)) {}

QtSound::~QtSound() = default;

SoundPlayer* QtSound::Player() {
    if (!checked_) {
        checked_ = true;
        // The module stays loaded to the end of the program: players it made may still be sounding.
        QLibrary module(SoundModulePath(programDir_));
        const auto open = reinterpret_cast<OpenSoundFunction>(module.resolve(kOpenSoundSymbol));
        if (open) player_.reset(open(path_));
    }
    return player_.get();
}

void QtSound::Play() {
    if (SoundPlayer* p = Player()) p->Play();
}

void QtSound::PlayLooped() {
    looping_ = true;
    if (SoundPlayer* p = Player()) p->PlayLooped();
}

void QtSound::Stop() {
    looping_ = false;
    if (player_) player_->Stop();
}

}  // namespace quorvel
