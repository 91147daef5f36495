#pragma once

#include <QString>
#include <exception>

// The message of an error shown by the window: the innermost nested error's
// message when it is not empty, the error's own otherwise, with "." added when
// its last character is above "." in the character code.
QString messageForErrorBox(const std::exception& error);
// The same for any caught error; one that is no std::exception reads "Unknown error".
QString messageForErrorBox(const std::exception_ptr& error);
QString withPeriodIfNeeded(const QString& message);

// The text of the "Application Error" box shown when start-up fails.
QString startupFailureText(const QString& typeName, const QString& moduleName, quintptr address,
                           const QString& message);

// A readable name of an error's kind.
QString errorTypeName(const std::exception& error);
