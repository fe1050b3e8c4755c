#pragma once

#include <exception>

class QString;

namespace platform {

// The text the error display shows for a message: a full stop is added unless
// the message is empty or already ends in a character not above '.'.
QString DisplayText(const QString &message);

// Shows the error in a modal box captioned with the application's display name,
// with the critical icon and one OK button. An exception not derived from
// platform::Exception shows an empty text.
void ShowException(std::exception_ptr error);

} // namespace platform
