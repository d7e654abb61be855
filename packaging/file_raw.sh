#!/bin/sh
# CPack runs `file` under LC_ALL=C, which prints the executable's Chinese name
# as octal escapes that dpkg-shlibdeps cannot open; --raw prints it as it is.
exec file --raw "$@"
