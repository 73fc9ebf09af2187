/* Trevasc: lateral analysis of single piles and drilled shafts by the p-y method.
 *
 * The host writes an input file and NAMES.DAT (four lines: input, report, plot
 * and run message file paths) into the current directory and calls TRVRUN with
 * the interface code 7926. The result is 0 for a normal run, a negative warning
 * id (or -300 for several) when warnings were issued, 101-199 for an input
 * error, 201-299 for a runtime error, and 99 for a wrong interface code.
 * TrevascRunFromPaths runs from four explicit paths instead. */
#ifndef TREVASC_TREVASC_H
#define TREVASC_TREVASC_H

#include <stdint.h>

/* Marks the public entries. The library is built with hidden visibility and
 * a version script (src/engine/libtrevasc.map) that lists what it exports. */
#if defined(__GNUC__)
#define TREVASC_EXPORT __attribute__((visibility("default")))
#else
#define TREVASC_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

TREVASC_EXPORT int32_t TRVRUN(int32_t interface_code);

/* Runs the analysis of the input file `input` with the report, plot and run
 * message files named by the other three paths: no NAMES.DAT, and relative
 * paths are taken from the current directory only as the C library opens
 * them. Same interface code and result codes as TRVRUN; a null or blank path
 * is Runtime Error 17 (217). For foreign-function interfaces of other
 * languages. */
TREVASC_EXPORT int32_t TrevascRunFromPaths(int32_t interface_code, const char* input, const char* report,
                                           const char* plot, const char* messages);

#ifdef __cplusplus
}
#endif

#endif
