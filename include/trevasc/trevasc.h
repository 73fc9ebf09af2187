/* Trevasc: lateral analysis of single piles and drilled shafts by the p-y method.
 *
 * The host writes an input file and NAMES.DAT (four lines: input, report, plot
 * and run message file paths) into the current directory and calls TRVRUN with
 * the interface code 7926. The result is 0 for a normal run, a negative warning
 * id (or -300 for several) when warnings were issued, 101-199 for an input
 * error, 201-299 for a runtime error, and 99 for a wrong interface code. */
#ifndef TREVASC_TREVASC_H
#define TREVASC_TREVASC_H

#include <stdint.h>

#if defined(TREVASC_BUILDING_LIBRARY)
#define TREVASC_EXPORT __attribute__((visibility("default")))
#else
#define TREVASC_EXPORT
#endif

#ifdef __cplusplus
extern "C" {
#endif

TREVASC_EXPORT int32_t TRVRUN(int32_t interface_code);

#ifdef __cplusplus
}
#endif

#endif
