#pragma once

#include <QString>

#include "cli/streams.h"
#include "io/failure.h"
#include "text/progress.h"

namespace varn::cli {

// Ends a text pass from `input` into `output`: a read failure is said with the input's name as
// the user gave it, a write failure with the output's, else the bar is filled and the result put
// in place. Returns the exit status.
int EndTextPass(const QString& command, io::Failure failure, const Input& input, Output& output,
                Progress& bar);

}  // namespace varn::cli
