#include "cli/text_pass_end.h"

#include "cli/command.h"
#include "cli/console.h"

namespace varn::cli {

int EndTextPass(const QString& command, io::Failure failure, const Input& input, Output& output,
                Progress& bar) {
    if (failure.kind == io::FailureKind::Read) {
        return Say(command, FailureText(input.Named(failure)), kFailure);
    }
    if (failure) {
        output.EndIfReaderGone();
        failure.path = output.path();
        return Say(command, FailureText(failure), kFailure);
    }
    bar.Fill();
    if (!output.Finish(failure)) return Say(command, FailureText(failure), kFailure);
    return kSuccess;
}

}  // namespace varn::cli
