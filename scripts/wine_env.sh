# Sourced by everything that runs vantor.exe under Wine (the end-to-end bench, the Wine
# benchmarks, scripts/run.sh): the one place that says how that Wine is set up.
#   wine_quiet_env            no debug output, no Mono, Gecko or menu builder
#   wine_cp1251_locale DIR    generates the ru_RU.UTF-8 locale into DIR once (code page 1251
#                             under Wine); false when it cannot (is "locales" installed?)
#   wine_cp1251_env DIR [1]   runs Wine on that locale: a code page 1251 system with English
#                             system dialogs, or a fully Russian one with a second argument 1
#   wine_start_xvfb DIR       a private Xvfb 1280x1024x24 on a display it picks itself (its
#                             number in DIR/display); exports DISPLAY and sets xvfb_pid; false
#                             when it did not come up. The caller ends it by that pid.
#   wine_unmanaged            Managed=N: without a window manager clicks on dialogs stay fast

wine_quiet_env() {
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d"
}

wine_cp1251_locale() {
    if [ ! -f "$1/ru_RU.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$1"
        # localedef exits 1 on harmless warnings; judge by the result instead.
        localedef -i ru_RU -f UTF-8 "$1/ru_RU.UTF-8" >"$1/localedef.log" 2>&1 || true
    fi
    [ -f "$1/ru_RU.UTF-8/LC_CTYPE" ]
}

wine_cp1251_env() {
    export LOCPATH="$1" LANG=ru_RU.UTF-8
    if [ "${2:-0}" = 1 ]; then unset LC_MESSAGES; else export LC_MESSAGES=C; fi
    unset LC_ALL LANGUAGE
}

wine_start_xvfb() {
    : >"$1/display"
    setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset \
        3>"$1/display" </dev/null >"$1/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$1/display" ] && break
        kill -0 "$xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    [ -s "$1/display" ] || return 1
    DISPLAY=":$(tr -dc 0-9 <"$1/display")"
    export DISPLAY
}

wine_unmanaged() {
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}
