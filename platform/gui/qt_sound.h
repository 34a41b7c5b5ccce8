// A sound file of the program folder, played asynchronously.
#pragma once

#include <QString>
#include <memory>

class QSoundEffect;

namespace quorvel {

class QtSound {
public:
    explicit QtSound(QString path);
    ~QtSound();
    // Plays the sound once. Without an audio device, or without the file, nothing is heard; that is looked
    // at on the first call, so a program that never plays a sound never opens the audio device.
    void Play();

private:
    QString path_;
    std::unique_ptr<QSoundEffect> effect_;
    bool checked_ = false;
};

}  // namespace quorvel
