#pragma once

// Runs tickerpost-send with its command line: the options, the text, the settings and the address
// book where the window keeps them (or in --dir), then the sends of one click to each recipient, or
// with --dry-run the mails they would write. Outcomes and errors go to standard error in German;
// returns the exit status (ExitStatus).
int RunSendCommand(int argc, char* argv[]);
