#pragma once

#include <QString>

// Texts of the configuration-manager error codes that the device lists show.
namespace ModErrorCodes {

// "(" code ") " description; the code text is matched exactly, as a whole, and echoed unchanged.
// Lets the message loop run once.
QString DescribeErrorCode(const QString &code);

}
