#include "pdf_text.hpp"

#include <cstdio>
#include <sstream>

namespace trevasc::host {

namespace {

constexpr double kLeading = 1.18;           // line height as a multiple of the font size
constexpr double kCourierAdvance = 0.6;     // width of every Courier glyph per point of size
constexpr double kFooterSize = 7.5;

// UTF-8 to the single bytes of WinAnsi (Latin-1 for the characters used
// here), '?' for anything else.
std::string WinAnsi(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size()) {
            const unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
            out += code < 0x100 ? static_cast<char>(code) : '?';
            ++i;
        } else {
            // A longer sequence: skip its continuation bytes.
            while (i + 1 < text.size() && (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) ++i;
            out += '?';
        }
    }
    return out;
}

// A PDF literal string: backslash and parentheses escaped, control bytes
// dropped, bytes above 127 as octal escapes.
std::string Literal(const std::string& bytes) {
    std::string out = "(";
    for (char ch : bytes) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '\\' || c == '(' || c == ')') {
            out += '\\';
            out += ch;
        } else if (c < 0x20) {
            out += ' ';
        } else if (c >= 0x80) {
            char octal[5];
            std::snprintf(octal, sizeof octal, "\\%03o", c);
            out += octal;
        } else {
            out += ch;
        }
    }
    return out + ")";
}

const char* FontResource(PdfFont font) {
    switch (font) {
        case PdfFont::kMono: return "/F1";
        case PdfFont::kSans: return "/F2";
        case PdfFont::kSansBold: return "/F3";
    }
    return "/F1";
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

}  // namespace

std::size_t MonoLineCapacity(PdfPageSize size, double font_size) {
    return static_cast<std::size_t>((size.width - 2.0 * kPdfMargin) / (kCourierAdvance * font_size));
}

std::string TextDocument(const std::vector<PdfLine>& lines, PdfPageSize size, const std::string& footer) {
    // Lay out the pages as content streams.
    std::vector<std::string> pages;
    std::ostringstream page;
    double y = size.height - kPdfMargin;
    bool open = false;
    auto finish = [&] {
        if (!open) return;
        if (!footer.empty()) {
            page << "BT /F2 " << Number(kFooterSize) << " Tf " << Number(kPdfMargin) << ' '
                 << Number(kPdfMargin / 2.0) << " Td " << Literal(WinAnsi(footer)) << " Tj ET\n";
        }
        pages.push_back(page.str());
        page.str("");
        open = false;
    };
    for (const PdfLine& line : lines) {
        const double height = line.size * kLeading;
        if (open && (line.page_break || y - line.space_before - height < kPdfMargin)) finish();
        if (!open) {
            open = true;
            y = size.height - kPdfMargin;
        } else {
            y -= line.space_before;
        }
        y -= height;
        if (!line.text.empty()) {
            page << "BT " << FontResource(line.font) << ' ' << Number(line.size) << " Tf " << Number(kPdfMargin) << ' '
                 << Number(y) << " Td " << Literal(WinAnsi(line.text)) << " Tj ET\n";
        }
    }
    if (!open) {
        open = true;  // an empty document still has a page
    }
    finish();

    // Objects: 1 catalog, 2 page tree, 3-5 fonts, then a page and its
    // content stream per page.
    std::string pdf = "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";
    std::vector<std::size_t> offsets;
    auto object = [&](const std::string& body) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(offsets.size()) + " 0 obj\n" + body + "\nendobj\n";
    };
    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i) kids += std::to_string(6 + 2 * i) + " 0 R ";
    object("<< /Type /Catalog /Pages 2 0 R >>");
    object("<< /Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages.size()) + " >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Courier /Encoding /WinAnsiEncoding >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>");
    object("<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        object("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + Number(size.width) + " " + Number(size.height) +
               "] /Resources << /Font << /F1 3 0 R /F2 4 0 R /F3 5 0 R >> >> /Contents " + std::to_string(7 + 2 * i) +
               " 0 R >>");
        object("<< /Length " + std::to_string(pages[i].size()) + " >>\nstream\n" + pages[i] + "endstream");
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(offsets.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        char entry[24];
        std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offset);
        pdf += entry;
    }
    pdf += "trailer\n<< /Size " + std::to_string(offsets.size() + 1) + " /Root 1 0 R >>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

}  // namespace trevasc::host
