#pragma once

#include <QString>
#include <functional>

class QLineEdit;

namespace horalog
{

// Input masks: one digit at each 9, literals shown and skipped, "_" where nothing is typed yet.
inline const QString kZipMask = QStringLiteral("99999-9999;_");
inline const QString kPhoneMask = QStringLiteral("(999) 999-9999;_");
inline const QString kSocialSecurityMask = QStringLiteral("999-99-9999;_");

// Entering an empty telephone box puts the caret after the "(", where the first digit goes.
void startAfterParenthesis(QLineEdit* box);

// Entering the box selects its whole text, so that typing replaces it.
void selectAllOnEntry(QLineEdit* box);

// An edit that would bring a double quote into the box, typed, pasted or dropped, is undone and
// `refused` runs once for it, right after; every other edit passes.
void refuseDoubleQuote(QLineEdit* box, std::function<void()> refused);

} // namespace horalog
