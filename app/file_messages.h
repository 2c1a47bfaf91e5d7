#pragma once

// Every text the user reads about a file that failed, in both languages: the file layer and the
// cores report what failed (a kind, a path, errno); the words are chosen here.

#include <exception>
#include <string>
#include <vector>

#include "app/form1.h"
#include "caesar/caesar_pass.h"
#include "crypt/crypt_operation.h"
#include "text/dos_text.h"

struct MessageText {
    MessageKind kind;
    std::string russian;
    std::string english;
};

// The text of the error box for a failure that ended a handler. A failure of the file layer gets
// its fixed English words ("Cannot open file %s", "Cannot create file %s", "Stream read error",
// "Stream write error"); any other error keeps its own text.
std::string UnexpectedErrorText(const std::exception& error);

// What the 3V tab shows after a pass, in order.
enum class CaesarMessage {
    InputNotOpen,            // the file cannot be opened for the pass
    TempNotOpen,             // the temporary cannot be created, written in full or flushed
    SourceNotRemoved,        // replace mode: the file may not be replaced; it stays as it was
    TempNotRenamedToSource,  // replace mode: the result could not take the file's place
    TempNotRenamedToCrypt,   // separate mode: the result could not take the name "__varn__.enc"
    ReadFailed,              // the file could not be read to its end; nothing was changed
    FileChanged,             // replace mode: the file changed during the pass; it stays as it is
    NotPlainText,            // the file would not come back: replace mode refuses, else a warning
    DoneEncrypt,             // separate mode: completion, the result is in "__varn__.enc"
    DoneDecrypt,
};

// The messages for what a pass did.
std::vector<CaesarMessage> CaesarMessages(const varn::CaesarOutcome& outcome, bool decipher,
                                          bool replace);

// The 3V tab's messages, its completions included.
MessageText CaesarMessageText(CaesarMessage message);

// What the cipher tab shows of an operation's result, before any completion notice: the file or
// temporary that could not be opened (a plain error box), or the module's own words ("Error
// CryptModul") for a refusal, a failed read, write or rename, or a wipe that failed after the
// result took its place (the only one that a completion notice follows).
std::vector<MessageText> CryptResultTexts(const varn::CryptResult& result, bool decrypt);

// The substitution engine's own failures: the input that cannot be opened, the output that cannot
// be created, and an input that changed during the pass. Other failures end the handler with
// UnexpectedErrorText.
MessageText SubstitutionFailureText(varn::io::FailureKind kind);

// A failure of a pass the user stopped ends its handler (as FileError), before any of the texts
// above: the window then says only that the operation was cancelled.
void EndIfCancelled(const varn::io::Failure& failure);

// Shows a message of the tables above.
void ShowMessageText(TForm1& form, const MessageText& message);
