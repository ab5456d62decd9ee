/* The one translation unit that compiles the Ogg Vorbis decoder of Debian's libstb-dev. It reads
 * from memory only: sounds come through the file object, also from archives. */
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb/stb_vorbis.h>
