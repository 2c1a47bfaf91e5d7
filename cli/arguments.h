#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace varn::cli {

// The command line as the program got it. Each argument is decoded as UTF-8, and every byte that
// is not part of a valid sequence stands for itself as one code unit U+DC00 + byte, so that a file
// name holding such bytes (a name made under another code page) comes back exactly.
QStringList ArgumentsOf(int argc, char** argv);

// The native bytes of an argument decoded by ArgumentsOf: a file name as the system knows it.
std::string NativeBytes(const QString& argument);

}  // namespace varn::cli
