#pragma once

#include <QString>

namespace horalog
{

class SoundPlayer
{
  public:
    virtual ~SoundPlayer() = default;
    // Plays without waiting; a file that cannot be played gives the default beep.
    virtual void play(const QString& file) = 0;
};

} // namespace horalog
