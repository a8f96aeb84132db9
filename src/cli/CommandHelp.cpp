#include "cli/CommandHelp.h"

#include <algorithm>
#include <iostream>

namespace qlt::cli {

namespace {

// Where scan and clean take the password from, and why not from the command
// line itself.
#define QLT_PASSWORD_HELP                                                       \
    "The password is the first line of FILE with --password-file FILE, or of\n" \
    "standard input with --password -; without either, the environment\n"       \
    "variable QUILLGATE_PASSWORD holds it. --password P still takes it from\n"  \
    "the command line, where every local user can read it in the process\n"     \
    "list, and warns so.\n"                                                     \
    "\n"

const CommandHelp kCommands[] = {
    {"codec", "quillgate-cli codec compress|decompress|scramble",
     "Runs the account store's codec over standard input and writes the result\n"
     "to standard output.\n"
     "\n"
     "Exit codes: 0 done, 1 the input is not a readable compressed block,\n"
     "2 usage.\n"},
    {"dict",
     "quillgate-cli dict build SOURCE -o FILE\n"
     "       quillgate-cli dict dump [FILE] [--userlst PATH]",
     "build  makes the keyword dictionary data file FILE from its readable\n"
     "       source.\n"
     "dump   prints the keyword table as the program loads it: the built-in\n"
     "       record, the user strings of --userlst PATH, then the records of\n"
     "       FILE (the shipped dictionary when FILE is left out).\n"
     "\n"
     "Exit codes: 0 done, 1 a file could not be read or written or is not\n"
     "valid, 2 usage.\n"},
    {"rate",
     "quillgate-cli rate FILE [--account-name NAME] [--size N] [--number N]\n"
     "                          [--dict PATH] [--userlst PATH] [--full]",
     "Rates the message in FILE as a scan would (only its first lines unless\n"
     "--full) and prints the filled entry as one JSON object.\n"
     "\n"
     "  --account-name NAME  the account name shown in the entry\n"
     "  --size N             the message size the server would report\n"
     "  --number N           the message number on the server (1)\n"
     "  --dict PATH          the keyword dictionary (the shipped one)\n"
     "  --userlst PATH       the user strings file (none)\n"
     "  --full               rate the whole message, as Analyze does\n"
     "\n"
     "Exit codes: 0 done, 1 FILE or a file an option names could not be read,\n"
     "2 usage.\n"},
    {"scan",
     "quillgate-cli scan --server HOST [--port N] --user U\n"
     "                          [--password-file FILE | --password -|P]\n"
     "                          [--security none|tls|stls] [--ca FILE]\n"
     "                          [--account-name NAME] [--timeout S] [--scanbuf N] [--dict PATH]\n"
     "                          [--userlst PATH] [--senders PATH]",
     "Logs in to a POP3 server, scans the mailbox and prints the result, the\n"
     "server's counters, the error text and the rated entries as one JSON\n"
     "object; a failure is also told in one line on standard error. Nothing is\n"
     "deleted and no profile is read or written.\n"
     "\n" QLT_PASSWORD_HELP "  --security WORD  none (clear text), tls (TLS from the first byte) or\n"
     "                   stls (STLS before the login); none when left out\n"
     "  --port N         the server's port (995 for tls, 110 otherwise)\n"
     "  --ca FILE        trust the certificates in this PEM file instead of\n"
     "                   the system's\n"
     "  --timeout S      seconds to wait for each reply (30; 0: no limit)\n"
     "  --scanbuf N      the body lines TOP asks for of each message, and the\n"
     "                   most receives its reply may take (1024)\n"
     "  --senders PATH   a sender list file whose friends and foes are marked\n"
     "\n"
     "Exit codes: 0 scanned (also an empty mailbox), 1 no login or a failed\n"
     "scan, 2 usage or no password.\n"},
    {"clean",
     "quillgate-cli clean [--account NAME|N] [--password-file FILE | --password -|P]\n"
     "                          [--dry-run] [--heuristics] [--ca FILE] [--data DIR]\n"
     "                          [--dict PATH]",
     "Scans one account of your profile and deletes on the server, of the\n"
     "messages the automatic tagging rule tags (never by risk for a friend),\n"
     "every message of a foe and those made red by a dictionary record (your\n"
     "user strings included) or by a risky attachment. The built-in heuristics\n"
     "(not addressed to the account, base64 body, link, disguised word,\n"
     "embedded part, no sender) make ordinary mail red too: a message only\n"
     "they make red stays unless --heuristics is given. Meant for scripted\n"
     "use (cron): nothing is asked, the messages are listed on standard output\n"
     "as \"NUMBER<tab>SENDER<tab>SUBJECT\" and a last line gives the count;\n"
     "notices go to standard error.\n"
     "\n"
     "A password is needed only when the profile stores none.\n" QLT_PASSWORD_HELP
     "  --account NAME|N  the account by name or by number in the list (the\n"
     "                    current account of the profile when left out)\n"
     "  --dry-run         list what would be deleted and, after it, each tagged\n"
     "                    message that stays, its line ending in\n"
     "                    \"<tab>skipped: REASON\"; delete nothing\n"
     "  --heuristics      delete also what only the built-in heuristics make red\n"
     "  --ca FILE         trust the certificates in this PEM file instead of\n"
     "                    the system's\n"
     "  --data DIR        the folder of your user strings and sender list\n"
     "                    ($XDG_DATA_HOME/quillgate)\n"
     "  --dict PATH       the keyword dictionary (DIR/qltdict.dat, else the\n"
     "                    shipped one)\n"
     "\n"
     "The profile is the program's own settings file; at the end the\n"
     "account's status and counters are written into it as a scan in the\n"
     "program sets them, and nothing else, so the program may stay open.\n"
     "\n"
     "Exit codes: 0 done (also nothing to delete), 1 no login, a failed scan\n"
     "or not every tagged message deleted, 2 usage, no such account or no\n"
     "password.\n"},
    {"log", "quillgate-cli log [--since DAYS] [--json] [--data DIR]",
     "Prints the log of deleted mail that the program and clean keep in the\n"
     "data folder (deleted.jsonl, the last 90 days): one line a message,\n"
     "\"TIME<tab>ACCOUNT<tab>SENDER<tab>SUBJECT<tab>WHY\", oldest first, the\n"
     "time in UTC.\n"
     "\n"
     "  --since DAYS  only what was deleted in the last DAYS days\n"
     "  --json        a JSON array of the log's entries instead\n"
     "  --data DIR    the data folder ($XDG_DATA_HOME/quillgate)\n"
     "\n"
     "Exit codes: 0 done (also an empty log), 2 usage.\n"},
};

#undef QLT_PASSWORD_HELP

}  // namespace

const CommandHelp* findHelp(std::string_view command) {
    const auto* found =
        std::ranges::find_if(kCommands, [command](const CommandHelp& h) { return h.name == command; });
    return found == std::end(kCommands) ? nullptr : found;
}

std::string helpText(const CommandHelp& help) {
    return std::string("usage: ") + help.synopsis + "\n\n" + help.details;
}

std::string overviewText() {
    std::string text = "usage: ";
    for (const CommandHelp& help : kCommands) {
        if (&help != kCommands) text += "       ";
        text += std::string(help.synopsis) + "\n";
    }
    text +=
        "\nRun \"quillgate-cli COMMAND --help\" for what a command does, its options\n"
        "and its exit codes, \"quillgate-cli --version\" for its version.\n";
    return text;
}

bool asksForHelp(const std::vector<std::string>& args) {
    return !args.empty() && (args[0] == "--help" || args[0] == "-h");
}

int usageError(std::string_view command, const std::string& error) {
    if (!error.empty())
        std::cerr << "quillgate-cli" << (command.empty() ? "" : " ") << command << ": " << error << '\n';
    const CommandHelp* help = findHelp(command);
    if (help == nullptr) {
        std::cerr << overviewText();
    } else {
        std::cerr << "usage: " << help->synopsis << '\n';
    }
    return 2;
}

}  // namespace qlt::cli
