/* Baseline for the benchmarks: the least any reader of a zipped workbook must do. Finds the
   named entries through the zip's central directory and inflates them with zlib, discarding
   the output (no XML is looked at). Usage: zip_inflate FILE ENTRY...
   (xl/worksheets/sheet1.xml xl/sharedStrings.xml for an .xlsx, content.xml for an .ods). */
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zlib.h>

static uint32_t u16(const unsigned char *p) { return p[0] | p[1] << 8; }
static uint32_t u32(const unsigned char *p) { return u16(p) | (uint32_t)u16(p + 2) << 16; }

/* Inflates one stored or deflated entry; returns the bytes it gave, or -1. */
static long inflate_entry(const unsigned char *data, size_t size, size_t local, uint32_t method,
                          size_t packed) {
  if (local + 30 > size || u32(data + local) != 0x04034b50) return -1;
  const size_t start = local + 30 + u16(data + local + 26) + u16(data + local + 28);
  if (start > size || packed > size - start) return -1;
  if (method == 0) return (long)packed;
  if (method != 8) return -1;
  static unsigned char out[1 << 18];
  z_stream z;
  memset(&z, 0, sizeof z);
  if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return -1;
  z.next_in = (unsigned char *)data + start;
  z.avail_in = (uInt)packed;
  long total = 0;
  int rc;
  do {
    z.next_out = out;
    z.avail_out = sizeof out;
    rc = inflate(&z, Z_NO_FLUSH);
    total += (long)(sizeof out - z.avail_out);
  } while (rc == Z_OK);
  inflateEnd(&z);
  return rc == Z_STREAM_END ? total : -1;
}

int main(int argc, char **argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: zip_inflate FILE ENTRY...\n");
    return 2;
  }
  FILE *f = fopen(argv[1], "rb");
  if (!f) return 1;
  fseek(f, 0, SEEK_END);
  const size_t size = (size_t)ftell(f);
  fseek(f, 0, SEEK_SET);
  unsigned char *data = malloc(size ? size : 1);
  if (!data || fread(data, 1, size, f) != size) return 1;
  fclose(f);
  /* The end-of-central-directory record: within the last 64 KiB + 22 bytes. */
  size_t eocd = size >= 22 ? size - 22 : 0;
  while (eocd > 0 && u32(data + eocd) != 0x06054b50 && size - eocd < 65536 + 22) --eocd;
  if (size < 22 || u32(data + eocd) != 0x06054b50) return 1;
  size_t at = u32(data + eocd + 16);
  const uint32_t entries = u16(data + eocd + 10);
  long inflated = 0;
  int found = 0;
  for (uint32_t i = 0; i < entries && at + 46 <= size && u32(data + at) == 0x02014b50; ++i) {
    const uint32_t name_len = u16(data + at + 28);
    const size_t next = at + 46 + name_len + u16(data + at + 30) + u16(data + at + 32);
    if (at + 46 + name_len > size) break;
    for (int a = 2; a < argc; ++a) {
      if (strlen(argv[a]) == name_len && memcmp(data + at + 46, argv[a], name_len) == 0) {
        const long n = inflate_entry(data, size, u32(data + at + 42), u16(data + at + 10), u32(data + at + 20));
        if (n < 0) return 1;
        inflated += n;
        ++found;
      }
    }
    at = next;
  }
  free(data);
  printf("entries=%d inflated=%ld\n", found, inflated);
  return found == argc - 2 ? 0 : 1;
}
