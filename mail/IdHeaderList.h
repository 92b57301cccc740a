#pragma once

#include <string>
#include <string_view>
#include <vector>

// The header lines of a message. A header field is one line "Name: value" followed by its
// continuation lines (lines that begin with a space or a TAB). Names compare case-insensitively;
// setting a value folds the line to 78 columns (RFC 5322 2.1.1).
class TIdHeaderList
{
public:
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& operator[](int index) const { return lines_[index]; }
    const std::vector<std::string>& Lines() const& { return lines_; }
    // On a temporary list (BuildHeader().Lines()) the lines are moved out, so a loop over them
    // never reads a list that is gone.
    std::vector<std::string> Lines() && { return std::move(lines_); }
    void Add(std::string line) { lines_.push_back(std::move(line)); }
    void Clear() { lines_.clear(); }

    // The index of the first line whose text before its first colon is `name`, or -1.
    int IndexOfName(std::string_view name) const;

    // The value of the field `name` with its continuation lines joined; empty when absent.
    std::string GetValue(std::string_view name) const;

    // Replaces the field `name` in place (or appends it) with the folded "name: value"; an empty
    // value removes the field. A control byte in the value (CR and LF among them) that is not part
    // of a CR LF TAB fold (as EncodeHeaderText writes it) becomes a space, so no value can start a
    // header line of its own or end the header.
    void SetValue(std::string_view name, std::string_view value);

    // A header line wrapped at the last space or TAB before column 79 (a quoted stretch is never
    // broken; a CR LF followed by a space or TAB already in the line is kept), cut into lines
    // without their line ends and trailing blanks. No line is blank but the first, and none is
    // longer than 998 octets (RFC 5322 2.1.1): a longer one is cut before its last blank that
    // fits, even in a quoted stretch, else at the limit with a blank put in.
    static std::vector<std::string> FoldHeaderLine(std::string_view line);

private:
    int ContinuationEnd(int index) const;

    std::vector<std::string> lines_;
};
