// The sound module: sound files played with Qt Multimedia. It is a module of its own, loaded by QtSound
// with the first sound, so that a start of the program does not load the media and audio libraries.
#include <QAudioDevice>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

#include "platform/gui/qt_sound.h"

namespace {

class EffectPlayer : public quorvel::SoundPlayer {
public:
    explicit EffectPlayer(const QString& path) { effect_.setSource(QUrl::fromLocalFile(path)); }
    void Play() override {
        effect_.setLoopCount(1);
        effect_.play();
    }
    void PlayLooped() override {
        effect_.setLoopCount(QSoundEffect::Infinite);
        effect_.play();
    }
    void Stop() override { effect_.stop(); }

private:
    QSoundEffect effect_;
};

}  // namespace

extern "C" Q_DECL_EXPORT quorvel::SoundPlayer* QuorvelOpenSound(const QString& path) {
    if (QMediaDevices::audioOutputs().isEmpty() || !QFileInfo::exists(path)) return nullptr;
    return new EffectPlayer(path);
}
