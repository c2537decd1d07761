#!/usr/bin/env bash
# Every library tessarine.exe imports must be one Windows 10 and 11 always take from
# System32: a KnownDLL (or ntdll, loaded before any) or an API set. Anything else could
# be planted beside the exe. A new dependency fails here until it is weighed.
set -u
exe=$1
objdump=${OBJDUMP:-x86_64-w64-mingw32-objdump}
known=" advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32 msctf msvcrt"
known+=" normaliz nsi ntdll ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32 shlwapi user32 wldap32 ws2_32 "
imports=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | tr -d '\r')
[ -n "$imports" ] || { echo "no imports read from $exe"; exit 1; }
bad=0
for dll in $imports; do
  stem=${dll%.dll}
  case "$stem" in api-ms-win-* | ext-ms-win-*) continue ;; esac
  [[ "$known" == *" $stem "* ]] && continue
  echo "imports $dll, which Windows may load from the app folder"
  bad=1
done
[ $bad -eq 0 ] && echo "$(wc -w <<<"$imports") imports, all from System32"
exit $bad
