#include "base/errorbox.h"

#include "base/global.h"
#include "base/messages.h"

void ShowException(const std::exception& error) {
    ShowMessage(QString::fromLocal8Bit(error.what()), ApplicationTitle, MsgIcon::Error);
}
