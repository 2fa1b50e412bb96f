# The set-up of a fresh Wine prefix, sourced by wine_suite.sh. The suite keys the prefix it keeps
# by a hash of this file, so that a change here makes a new prefix instead of using a stale one.
# Needs: $loader (wine or wine64), $wineserver, $WINEPREFIX and $WINEARCH; say() for messages.

# A fresh prefix takes a while to boot, so it is made once. Wine draws the window frames itself
# and leaves the windows unmanaged: the virtual screen has no window manager to do either. The
# set-up has no display, and a server it leaves running would keep that: wait for it to end.
set_up_prefix() {
  rm -rf "$WINEPREFIX"
  DISPLAY='' "$loader" wineboot --init >/dev/null 2>&1 || { say "wineboot failed"; return 1; }
  local value
  for value in Decorated Managed; do
    DISPLAY='' "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v $value /t REG_SZ /d N /f \
      >/dev/null 2>&1 || { say "cannot set the X11 driver's $value"; return 1; }
  done
  "$wineserver" -w
}
