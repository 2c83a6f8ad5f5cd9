#!/usr/bin/env bash
# The program refuses a system whose default language is Simplified Chinese (PRC): run the
# instance test program under Wine with a zh_CN locale and expect the refusal box and no
# window. Arguments: the folder of the test programs.
set -euo pipefail
bin_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

locales="$bin_dir/../locales"
if [ ! -d "$locales/zh_CN.UTF-8" ]; then
    mkdir -p "$locales"
    localedef -i zh_CN -f UTF-8 "$locales/zh_CN.UTF-8"
fi

cp "$bin_dir/instancetestapp.exe" "$work/"
printf '[setting]\r\nApp.GUID={locale-%s}\r\nApp.ID=%s\r\nApp.ConfigPath=VeilportLocaleTest\r\n' "$$" "$$" > "$work/const.dat"

run() {
    rm -f "$work/record.txt"
    VP_RECORD_FILE="$(winepath -w "$work/record.txt")" VP_ANSWER_BOXES=1 "$@" \
        wine "$work/instancetestapp.exe" -i >/dev/null 2>&1
    cat "$work/record.txt"
}

refused=$(run env LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8 LOCPATH="$locales")
echo "zh_CN: $refused"
grep -qx 'box=This product is unavailable in this country.' <<<"$refused"
! grep -q '^created' <<<"$refused"

allowed=$(run env LANG=en_US.UTF-8 LC_ALL=)
echo "en_US: $allowed"
! grep -q '^box=' <<<"$allowed"
echo "locale refusal: ok"
