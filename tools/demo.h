/* Shared pieces of the demo host: texts kept like a host's string variables,
 * checked calls, and showing a written file. */
#ifndef QUORIX_DEMO_H
#define QUORIX_DEMO_H

#include "quorix.h"

/* A text that lives until the demo ends (released by demo_release_texts). */
quorix_text T(const char *nulTerminated);
/* Prints the last error message when ok is 0; returns ok. */
int check(quorix_bool ok, const char *what);
/* printf for lines that hold the library's Windows-1252 texts: shown as UTF-8
 * on a Linux terminal. */
void say(const char *format, ...);
/* Prints a text file line by line. */
void show_file(const char *path);
void demo_release_texts(void);

/* The reports of the demo, each finished, signed and validated in its own
 * file under folder; each returns 1 on success. */
int demo_finish(const char *folder, const char *name, quorix_text publicKey,
                quorix_text privateKey);
int demo_identification_report(const char *folder, quorix_text publicKey, quorix_text privateKey);
/* The DAVs issued, goods in stock and goods and services reports (demo_goods.c). */
int demo_goods_reports(const char *folder, quorix_text publicKey, quorix_text privateKey);
/* A Reduction Z and its totalisers, a daily movement line and totals lines. */
int demo_reductions_report(const char *folder, quorix_text publicKey, quorix_text privateKey);
/* A fiscal coupon with its items and payments, and another document. */
int demo_coupon_report(const char *folder, quorix_text publicKey, quorix_text privateKey);
/* The side files and a report opened by the Anexo VI block (demo_side_files.c). */
int demo_anexo_vi_report(const char *folder, quorix_text publicKey, quorix_text privateKey);

#endif
