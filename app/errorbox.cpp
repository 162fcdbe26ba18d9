#include "app/errorbox.h"

#include "app/global.h"
#include "app/messages.h"

void ShowException(const std::exception& error) {
    ShowMessage(QString::fromLocal8Bit(error.what()), ApplicationTitle, MsgIcon::Error);
}
