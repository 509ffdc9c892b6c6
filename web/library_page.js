// Standard output and standard error of a program of the web edition: the
// bytes that the program writes go to its page (Module.suiteWrite) as they
// are, for the page to decode as Latin-1 (the runtime's own output would
// decode them as UTF-8 and needs its whole file system for anything else).
mergeInto(LibraryManager.library, {
    fd_write__sig: 'iiiii',
    fd_write: function (fd, iov, iovcnt, pnum) {
        var written = 0;
        for (var i = 0; i < iovcnt; i++) {
            var ptr = HEAP32[(iov + i * 8) >> 2];
            var len = HEAP32[(iov + i * 8 + 4) >> 2];
            if (len > 0)
                Module.suiteWrite(fd, HEAPU8.slice(ptr, ptr + len));
            written += len;
        }
        HEAP32[pnum >> 2] = written;
        return 0;
    },
});
