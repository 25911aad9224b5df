/* susie_plugin.h - the Susie plug-in interface as Voxa speaks it on Linux.
 *
 * This header is the whole contract between the Voxa host and a plug-in. A
 * third party can write a plug-in against it alone: include it, implement the
 * exported functions below, and build a shared object whose file name ends in
 * ".spi". Voxa loads every *.spi in the folder of its executable at start-up.
 *
 * Sections
 *   1. Kinds of plug-in and return codes
 *   2. Memory blocks: who allocates, who frees, what "valid" means
 *   3. The member record of an archive listing (428 bytes, byte-packed)
 *   4. The exported functions
 *
 * The functions keep the names, arguments and results of the published
 * Windows interface. What differs on Linux, and why:
 *   - Texts are UTF-8 file names; the host passes absolute or
 *     current-directory-relative paths.
 *   - The second argument of IsSupported is pointer-sized (uintptr_t), since a
 *     64-bit pointer does not fit a 32-bit word. Values below
 *     SPI_FILE_HANDLE_LIMIT are file descriptors, everything else is a pointer
 *     (see IsSupported).
 *   - Memory blocks are the blocks of section 2, not Windows local memory.
 *   - Lengths and positions are `long` (64 bits on Linux).
 *   - There is no calling convention decoration; the symbols are plain C.
 */
#ifndef VOXA_SUSIE_PLUGIN_H
#define VOXA_SUSIE_PLUGIN_H

#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

/* ---- 1. Kinds of plug-in and return codes -------------------------------- */

/* GetPluginInfo(0) answers with one of these four characters. */
#define SPI_KIND_IMAGE "00IN"   /* decodes pictures: IsSupported, GetPicture */
#define SPI_KIND_ARCHIVE "00AM" /* lists and extracts: IsSupported, GetArchiveInfo, GetFile */

/* Results of GetPicture, GetArchiveInfo and GetFile. */
enum {
    SPI_NO_FUNCTION = -1,      /* the function is not implemented */
    SPI_ALL_RIGHT = 0,         /* success */
    SPI_ABORT = 1,             /* the progress callback asked to stop */
    SPI_NOT_SUPPORT = 2,       /* unknown format */
    SPI_OUT_OF_ORDER = 3,      /* the data is broken */
    SPI_NO_MEMORY = 4,         /* a block could not be allocated (or would be too large) */
    SPI_MEMORY_ERROR = 5,      /* a memory block could not be used */
    SPI_FILE_READ_ERROR = 6,   /* the file could not be read */
    SPI_WINDOW_ERROR = 7,      /* reserved */
    SPI_OTHER_ERROR = 8        /* internal error */
};

/* GetPicture / GetArchiveInfo flag: bits 0-2 say where the input is. */
#define SPI_INPUT_FILE 0x0   /* buf is a file name, len an offset into it */
#define SPI_INPUT_MEMORY 0x1 /* buf points at the whole file image, len is its size */
/* GetFile flag: bits 8-10 say where the output goes. */
#define SPI_OUTPUT_FILE 0x000   /* dest names a folder to write the member into */
#define SPI_OUTPUT_MEMORY 0x100 /* dest is the address of an SpiHandle that receives a block */

/* IsSupported's second argument below this value is an open file descriptor. */
#define SPI_FILE_HANDLE_LIMIT ((uintptr_t)0x10000)
/* A memory image given to IsSupported is readable for at least this many
 * bytes; bytes past the end of a shorter image are zero. */
#define SPI_SNIFF_BYTES 2048

/* ---- 2. Memory blocks ---------------------------------------------------- */

/* A block is one malloc'ed region: a small header followed by the data. The
 * handle is the header's address. Plug-ins allocate every block they hand to
 * the host with spiAlloc; from then on the host owns it and frees it with
 * spiFree. The host frees the blocks it makes in the same way, so every block
 * has exactly one owner and one way to be freed. Because the functions are
 * inline over the C library's allocator, host and plug-ins share them without
 * linking to each other.
 *
 * A handle is "valid" when it is non-null and its header carries SPI_BLOCK_MAGIC
 * (spiIsValid); a plug-in that returns 0 promises valid handles in every out
 * argument it names. */
typedef struct SpiBlock* SpiHandle;

#define SPI_BLOCK_MAGIC 0x42495053u /* "SPIB" */

struct SpiBlock {
    uint32_t magic;
    uint32_t reserved;
    size_t size;
    /* followed by padding to 16 bytes, then `size` data bytes */
};

#define SPI_BLOCK_HEADER_BYTES ((size_t)16)

/* A zero-filled block of `size` bytes, or null when it cannot be had. */
static inline SpiHandle spiAlloc(size_t size) {
    if (size > (size_t)-1 - SPI_BLOCK_HEADER_BYTES) return NULL;
    SpiHandle block = (SpiHandle)calloc(1, SPI_BLOCK_HEADER_BYTES + (size ? size : 1));
    if (!block) return NULL;
    block->magic = SPI_BLOCK_MAGIC;
    block->size = size;
    return block;
}

/* A block whose data bytes are left as they come, for a writer that sets
 * every one of them: zero-filling a picture's block costs as much as
 * writing it. Freed like any other block; null when it cannot be had.     */
static inline SpiHandle spiAllocUnfilled(size_t size) {
    if (size > (size_t)-1 - SPI_BLOCK_HEADER_BYTES) return NULL;
    SpiHandle block = (SpiHandle)malloc(SPI_BLOCK_HEADER_BYTES + (size ? size : 1));
    if (!block) return NULL;
    block->magic = SPI_BLOCK_MAGIC;
    block->reserved = 0;
    block->size = size;
    return block;
}

static inline int spiIsValid(SpiHandle block) {
    return block != NULL && block->magic == SPI_BLOCK_MAGIC;
}

/* The block's data; it never moves, so there is nothing to unlock. */
static inline void* spiLock(SpiHandle block) {
    return spiIsValid(block) ? (unsigned char*)block + SPI_BLOCK_HEADER_BYTES : NULL;
}

static inline size_t spiSize(SpiHandle block) {
    return spiIsValid(block) ? block->size : 0;
}

/* Frees a block; null is ignored. The magic is wiped first so that a stale
 * handle no longer passes spiIsValid. */
static inline void spiFree(SpiHandle block) {
    if (!block) return;
    block->magic = 0;
    free(block);
}

/* ---- 3. The member record of GetArchiveInfo ------------------------------ */

#pragma pack(push, 1)
typedef struct SpiFileInfo {
    unsigned char method[8]; /*   0: compression method; method[0] == 0 ends a listing */
    uint32_t position;       /*   8: handed back to GetFile to name this member */
    uint32_t compsize;       /*  12: compressed size */
    uint32_t filesize;       /*  16: unpacked size in bytes */
    int32_t timestamp;       /*  20: seconds since 1970, UTC */
    char path[200];          /*  24: folder inside the archive, "" or ending with '/' */
    char filename[200];      /* 224: file name without folder, zero-terminated */
    uint32_t crc;            /* 424: CRC of the member, 0 when unknown */
} SpiFileInfo;
#pragma pack(pop)

#ifdef __cplusplus
static_assert(sizeof(SpiFileInfo) == 428, "the member record is 428 bytes");
#else
_Static_assert(sizeof(SpiFileInfo) == 428, "the member record is 428 bytes");
#endif

/* ---- 4. The exported functions ------------------------------------------- */

/* A plug-in exports GetPluginInfo and, by kind, the others below with exactly
 * these signatures. The host looks each one up by name and never calls one
 * that is missing. The progress callback is always null and lData 0. */
typedef int (*SpiProgressCallback)(int done, int total, long data);

/* GetPluginInfo(infono, buf, buflen) copies text number `infono` into buf
 * (at most buflen bytes) and returns the number of characters written, 0 when
 * there is no such text. Whether the count includes a terminating zero is the
 * plug-in's choice; the host behaves as the Windows host does for both.
 *   0: the kind, "00IN" or "00AM" (the host passes a 5-byte buffer)
 *   1: the plug-in's description of itself, shown in the information dialog
 *   2k+2: a pattern list, for example "*.jpg;*.jpeg"
 *   2k+3: the description of that pattern list, for example "JPEG files"   */
typedef int (*SpiGetPluginInfo)(int infono, char* buf, int buflen);

/* IsSupported(filename, dw): non-zero when the plug-in takes the file.
 *   dw < SPI_FILE_HANDLE_LIMIT: filename names the file and dw is a file
 *     descriptor opened read-only at offset 0; the plug-in may read from it
 *     but must not close it.
 *   otherwise: filename is null and dw is the address of the whole file image
 *     in memory, readable for at least SPI_SNIFF_BYTES bytes.                */
typedef int (*SpiIsSupported)(const char* filename, uintptr_t dw);

/* GetPicture(buf, len, flag, pHBInfo, pHBm, callback, lData) decodes a picture.
 *   flag & 7 == SPI_INPUT_FILE: buf is the file name, len the offset of the
 *     picture in the file (0 for a whole file).
 *   flag & 7 == SPI_INPUT_MEMORY: buf points at the file image, len is its size.
 * On SPI_ALL_RIGHT, *pHBInfo is a block holding a 40-byte BITMAPINFOHEADER and
 * its palette, *pHBm a block of bottom-up pixel rows padded to 4 bytes; the host
 * owns both. On any other result the plug-in has freed whatever it allocated
 * and the out handles are not used.                                         */
typedef int (*SpiGetPicture)(const char* buf, long len, unsigned int flag, SpiHandle* pHBInfo,
                             SpiHandle* pHBm, SpiProgressCallback callback, long lData);

/* GetArchiveInfo(buf, len, flag, lphInf) lists an archive.
 * On SPI_ALL_RIGHT, *lphInf is a block of SpiFileInfo records in the archive's
 * order, ended by a record whose method[0] is 0; the host owns it.          */
typedef int (*SpiGetArchiveInfo)(const char* buf, long len, unsigned int flag, SpiHandle* lphInf);

/* GetFile(src, len, dest, flag, callback, lData) extracts the member whose
 * SpiFileInfo.position is len from the archive named src. With
 * SPI_OUTPUT_MEMORY, dest is really an SpiHandle* that receives a block of
 * exactly the member's unpacked bytes; the host owns it.                    */
typedef int (*SpiGetFile)(const char* src, long len, char* dest, unsigned int flag,
                          SpiProgressCallback callback, long lData);

/* CallsMayOverlap(): optional. Non-zero when the plug-in's exports may run on
 * several threads at once, each call on its own arguments. The host calls a
 * plug-in without it one call at a time, whichever thread asks.             */
typedef int (*SpiCallsMayOverlap)(void);

/* Plug-ins declare their exports with SPI_EXPORT so that they stay visible when
 * the rest of the shared object is built with hidden visibility. */
#define SPI_EXPORT __attribute__((visibility("default")))

#ifdef __cplusplus
}
#endif

#endif /* VOXA_SUSIE_PLUGIN_H */
