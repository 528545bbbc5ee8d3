#pragma once

#include <QDateTime>

namespace horalog
{

class Clock
{
  public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

} // namespace horalog
