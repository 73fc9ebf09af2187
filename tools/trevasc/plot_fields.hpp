// Fields of the plot output file's records: the fixed-column numbers and
// gaps that a record's layout (include/trevasc/plot_records.hpp) places
// before its label, read back with messages that name the file, the line,
// the columns and what was wrong.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "trevasc/plot_records.hpp"

namespace trevasc::host {

// One line of the file: its 1-based number, its text and the record kind its
// label names (0 for none).
struct PlotRecord {
    std::size_t line = 0;
    std::string text;
    int kind = 0;
};

// "Line n (what it holds)", or "an unlabelled line" for kind 0.
std::string KindName(int kind);
// The text in quotes, cut to 60 characters, with control characters shown as '?'.
std::string Quote(std::string_view text);

bool IsBlank(std::string_view text);
std::string_view TrimLeft(std::string_view text);
std::string_view TrimRight(std::string_view text);
bool AllDigits(std::string_view text);

// Reads fields of the records of one file; every fault throws PlotFileError
// with the file's name.
class FieldReader {
public:
    explicit FieldReader(std::string file) : file_(std::move(file)) {}

    const std::string& file() const { return file_; }
    [[noreturn]] void Fail(std::size_t line, const std::string& message) const;

    // The text of columns first..first+width-1; the record must reach them.
    std::string_view Field(const PlotRecord& record, int first, int width) const;
    // An Iw field: digits right-justified, an optional minus sign.
    int Integer(const PlotRecord& record, int first, int width, std::string_view what) const;
    // An integer field that must lie within [low, high].
    int Count(const PlotRecord& record, int first, int width, std::string_view what, int low, int high) const;
    // An E15.7 field (any real a Fortran runtime writes).
    double Real(const PlotRecord& record, int first, std::string_view what) const;
    // Columns first..last (inclusive) must be blank.
    void Blank(const PlotRecord& record, int first, int last) const;
    // The label text from `column` to the end of the record, trailing blanks removed.
    std::string_view Label(const PlotRecord& record, int column) const;

private:
    std::string file_;
};

// Walks a record along its layout: each call reads the next value field,
// after checking that the blanks (nX, Tn) before it are blank, in the order
// the record is written.
class RecordCursor {
public:
    RecordCursor(const FieldReader& fields, const PlotRecord& record, const plot::Layout& layout)
        : fields_(fields), record_(record), layout_(layout) {}

    int Integer(std::string_view what);
    int Count(std::string_view what, int low, int high);
    double Real(std::string_view what);
    // The label: checks the blanks that remain before it (passing over value
    // fields not read) and returns its text.
    std::string_view Label();

private:
    // Passes blanks up to the next descriptor that takes a value or opens the label.
    void PassGaps();
    // The columns of the next value field, which must be of `edit`.
    plot::Columns Next(plot::Edit edit);

    const FieldReader& fields_;
    const PlotRecord& record_;
    const plot::Layout& layout_;
    std::size_t next_ = 0;  // descriptor index
    int column_ = 1;        // where that descriptor starts
};

}  // namespace trevasc::host
