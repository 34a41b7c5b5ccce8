// A sound file of the program folder, played asynchronously.
#pragma once

#include <QString>
#include <memory>

namespace quorvel {

// What the sound module (quorvel_sound, in the program folder) gives for one sound file.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual void Play() = 0;
    // Plays the sound over and over until Stop.
    virtual void PlayLooped() = 0;
    virtual void Stop() = 0;
};

// The sound module's one entry point: a player of the file, or null without an audio device or without
// the file. Qt Multimedia and the audio libraries behind it live in that module alone, so that a start
// does not load them; they are loaded with the first sound.
extern "C" using OpenSoundFunction = SoundPlayer* (*)(const QString& path);
constexpr const char* kOpenSoundSymbol = "QuorvelOpenSound";
// The module's file, in the program folder.
QString SoundModulePath(const QString& programDir);

class QtSound {
public:
    // `path` is a sound file of the program folder `programDir`, where the sound module lies too.
    QtSound(QString programDir, QString path);
    ~QtSound();
    // Plays the sound once. Without the module, an audio device or the file, nothing is heard; that is
    // looked at on the first call, so a program that never plays a sound never opens the audio device.
    void Play();
    // Plays the sound in a loop, as the animation's music, until Stop.
    void PlayLooped();
    void Stop();
    bool looping() const { return looping_; }

private:
    // The module's player of the file, opened on the first call; null without module, device or file.
    SoundPlayer* Player();

    QString programDir_;
    QString path_;
    std::unique_ptr<SoundPlayer> player_;
    bool checked_ = false;
    bool looping_ = false;
};

}  // namespace quorvel
