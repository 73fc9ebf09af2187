// Text pages as a PDF document, written directly: the standard Courier and
// Helvetica fonts every PDF reader carries (nothing embedded), WinAnsi
// encoding, one content stream per page. Enough for the title page, the
// tables and the report appendix of a calculation package, with no program
// or library beyond the standard one.
#pragma once

#include <string>
#include <vector>

namespace trevasc::host {

enum class PdfFont { kMono, kSans, kSansBold };

struct PdfLine {
    std::string text;  // UTF-8; characters outside Latin-1 are shown as '?'
    PdfFont font = PdfFont::kMono;
    double size = 9.0;          // points
    double space_before = 0.0;  // points of extra space above the line
    bool page_break = false;    // the line starts a new page
};

struct PdfPageSize {
    double width = 792.0;  // points: US letter, landscape
    double height = 612.0;
};
inline constexpr PdfPageSize kLetterLandscape{792.0, 612.0};
inline constexpr PdfPageSize kA4Landscape{841.89, 595.28};
inline constexpr double kPdfMargin = 40.0;

// The lines laid out from the top margin down, a new page where a page is
// full or a line asks for one; `footer` is written at the foot of every page.
std::string TextDocument(const std::vector<PdfLine>& lines, PdfPageSize size, const std::string& footer);

// The number of characters of a Courier line of `size` points that fit
// between the margins.
std::size_t MonoLineCapacity(PdfPageSize size, double font_size);

}  // namespace trevasc::host
