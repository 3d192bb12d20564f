/* Forced into the third-party C code of the portable Linux builds.
   glibc 2.28 renamed fcntl to fcntl64 for programs built with 64-bit file
   offsets (SQLite asks for them), and a library that calls fcntl64 needs
   GLIBC_2.28 to load. Earlier glibc's fcntl does the same work, 64-bit
   locks included, so the calls are bound to it. */
#if defined(__x86_64__)
__asm__(".symver fcntl64,fcntl@GLIBC_2.2.5");
#elif defined(__i386__)
__asm__(".symver fcntl64,fcntl@GLIBC_2.0");
#elif defined(__aarch64__)
__asm__(".symver fcntl64,fcntl@GLIBC_2.17");
#endif
