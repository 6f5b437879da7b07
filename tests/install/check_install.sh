#!/usr/bin/env bash
# check_install.sh BUILD PREFIX VERSION: `cmake --install` into a temporary DESTDIR, then the
# layout, the installed programs run from there, and the validators of the desktop files where
# they are installed. Prints what failed and exits 1 at the end when anything did.
set -uo pipefail
build=$1 prefix=$2 version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
fail() { echo "FAIL: $*"; failed=1; }

DESTDIR="$work/root" cmake --install "$build" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
root="$work/root$prefix"
case "$prefix" in /usr) etc="$work/root/etc" ;; *) etc="$root/etc" ;; esac
case "$prefix" in /usr) units="$work/root/lib/systemd/system" ;; *) units="$root/lib/systemd/system" ;; esac

app=org.qinglan.Qinglan
expected=(
  "$root/bin/qinglan" "$root/bin/qinglan-cli" "$root/bin/qinglan-caseservice"
  "$root/share/qinglan/coins/q1.bmp" "$root/share/qinglan/coins/q2.bmp"
  "$root/share/qinglan/coins/y1.bmp" "$root/share/qinglan/coins/y2.bmp"
  "$root/share/applications/$app.desktop" "$root/share/metainfo/$app.metainfo.xml"
  "$root/share/icons/hicolor/scalable/apps/$app.svg"
  "$root/share/man/man1/qinglan.1.gz" "$root/share/man/man1/qinglan-cli.1.gz"
  "$root/share/man/man1/qinglan-caseservice.1.gz"
  "$root/share/qinglan/web/index.html" "$root/share/qinglan/web/app.js" "$root/share/qinglan/web/style.css"
  "$units/qinglan-caseservice.service" "$etc/qinglan-caseservice/caseservice.conf"
  "$root/share/zsh/vendor-completions/_qinglan" "$root/share/zsh/vendor-completions/_qinglan-caseservice"
)
for program in qinglan qinglan-cli qinglan-caseservice; do
  expected+=("$root/share/bash-completion/completions/$program" "$root/share/fish/vendor_completions.d/$program.fish")
done
for size in 16 24 32 48 64 128 256; do
  expected+=("$root/share/icons/hicolor/${size}x${size}/apps/$app.png")
done
for file in "${expected[@]}"; do [ -f "$file" ] || fail "not installed: ${file#"$work/root"}"; done
for program in qinglan qinglan-cli qinglan-caseservice; do
  [ -x "$root/bin/$program" ] || fail "$program is not executable"
  # Nothing points back into the build folder: no run path, no library from there.
  if readelf -d "$root/bin/$program" | grep -E 'RPATH|RUNPATH' | grep -qF "$build"; then
    fail "$program keeps a run path into the build folder"
  fi
done

# The installed programs, from the install, with a home of their own.
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" QT_QPA_PLATFORM=offscreen
unset QINGLAN_DATA_DIR QINGLAN_SERVICE
mkdir -p "$HOME"
cd "$work" || exit 1
chart=$("$root/bin/qinglan-cli" chart 20000107113113 2>"$work/chart.err") || fail "qinglan-cli chart: $(cat "$work/chart.err")"
[ "$(printf '%s\n' "$chart" | wc -l)" -eq 13 ] || fail "qinglan-cli chart printed $(printf '%s\n' "$chart" | wc -l) lines"
[ "$(printf '%s\n' "$chart" | head -n1)" = "卦例ID=20000107113113 京房式" ] || fail "qinglan-cli chart: first line $(printf '%s\n' "$chart" | head -n1)"
[ -f "$XDG_DATA_HOME/qinglan/qinglan.db" ] || fail "the installed qinglan-cli made no database in the user's data folder"
for program in qinglan qinglan-cli qinglan-caseservice; do
  said=$("$root/bin/$program" --version) || fail "$program --version exited non-zero"
  [ "$said" = "$program $version" ] || fail "$program --version said '$said'"
  "$root/bin/$program" --help >"$work/help.out" 2>&1 || fail "$program --help exited non-zero"
  grep -q -- '--version' "$work/help.out" || fail "$program --help does not list --version"
done
if "$root/bin/qinglan-cli" chart 20000107000000 >/dev/null 2>&1; then fail "qinglan-cli chart took line codes 0"; fi

# The validators, where they are installed.
if command -v desktop-file-validate >/dev/null; then
  out=$(desktop-file-validate "$root/share/applications/$app.desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || fail "desktop-file-validate: $out"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net --pedantic "$root/share/metainfo/$app.metainfo.xml" >"$work/appstream.out" 2>&1 ||
    fail "appstreamcli: $(cat "$work/appstream.out")"
  grep -q "<release version=\"$version\"" "$root/share/metainfo/$app.metainfo.xml" || fail "metainfo lacks release $version"
fi
# The desktop entry and the metainfo speak each language of the interface; the 繁體 names are the
# 简体 ones in traditional characters.
desktop="$root/share/applications/$app.desktop" metainfo="$root/share/metainfo/$app.metainfo.xml"
for key in Name GenericName Comment; do
  for locale in zh_CN zh_TW zh_HK en; do
    grep -q "^$key\[$locale\]=." "$desktop" || fail "the desktop entry has no ${key}[$locale]"
  done
  if command -v opencc >/dev/null; then
    simplified=$(sed -n "s/^$key\[zh_CN\]=//p" "$desktop")
    traditional=$(printf '%s\n' "$simplified" | opencc -c s2tw)
    grep -qxF "${key}[zh_TW]=$traditional" "$desktop" || fail "the desktop entry's ${key}[zh_TW] is not '$traditional'"
  fi
done
grep -q '^Keywords\[zh_TW\]=.*排盤' "$desktop" || fail "the desktop entry has no 繁體 keywords"
for element in name summary; do
  for lang in zh-CN zh-TW en; do
    grep -q "<$element xml:lang=\"$lang\">." "$metainfo" || fail "the metainfo has no $element in $lang"
  done
done
# Every paragraph and list item given in 简体 is given in 繁體 too.
[ "$(grep -c 'xml:lang="zh-CN"' "$metainfo")" -eq "$(grep -c 'xml:lang="zh-TW"' "$metainfo")" ] ||
  fail "the metainfo has $(grep -c 'xml:lang="zh-CN"' "$metainfo") texts in zh-CN, $(grep -c 'xml:lang="zh-TW"' "$metainfo") in zh-TW"
if command -v man >/dev/null; then
  for page in qinglan qinglan-cli qinglan-caseservice; do
    out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$out" ] || fail "man $page: $out"
  done
  # Every option of every command's help is in the manual page.
  options() { "$@" --help 2>/dev/null | grep -oE -- '--[a-z][a-z-]+' | sort -u; }
  commands=$("$root/bin/qinglan-cli" --help | sed -nE '/^commands:/,/^$/s/^  ([a-z][a-z-]*)( ([a-z][a-z-]*))?( .*)?$/\1 \3/p')
  for page in qinglan qinglan-cli qinglan-caseservice; do
    text=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -E UTF-8 -l "$root/share/man/man1/$page.1.gz" 2>/dev/null)
    wanted=$(options "$root/bin/$page")
    if [ "$page" = qinglan-cli ]; then
      # shellcheck disable=SC2086 # a command may be two words
      wanted+=$'\n'$(while read -r command; do options "$root/bin/$page" $command; done <<<"$commands")
    fi
    for option in $wanted; do
      grep -qF -- "$option" <<<"$text" || fail "man $page does not list $option"
    done
  done
fi

# The bash completion offers the commands, a command's verbs and options, read from the help.
if [ -f /usr/share/bash-completion/bash_completion ]; then
  complete_words() {
    PATH="$root/bin:$PATH" bash -c '
      source /usr/share/bash-completion/bash_completion
      source "$1"; shift
      COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
      _qinglan; printf "%s\n" "${COMPREPLY[@]}"' complete "$root/share/bash-completion/completions/qinglan-cli" "$@"
  }
  [ "$(complete_words qinglan-cli bac)" = backup ] || fail "bash completion of 'qinglan-cli bac': $(complete_words qinglan-cli bac)"
  [ "$(complete_words qinglan-cli cases ex)" = export ] || fail "bash completion of 'qinglan-cli cases ex'"
  complete_words qinglan-cli backup --v | grep -qx -- --verify || fail "bash completion of 'qinglan-cli backup --v'"
  complete_words qinglan-cli cases import --d | grep -q -- --dry-run || fail "bash completion of 'qinglan-cli cases import --d'"
  complete_words qinglan --da | grep -q -- --data-dir || fail "bash completion of 'qinglan --da'"
  complete_words qinglan-caseservice --lis | grep -q -- --listen || fail "bash completion of 'qinglan-caseservice --lis'"
fi
grep -q "^ExecStart=$prefix/bin/qinglan-caseservice --config " "$units/qinglan-caseservice.service" ||
  fail "the unit does not start the installed program"
# The service says where it listens once it is ready: its output is read line by line as it comes.
mkfifo "$work/service.pipe"
"$root/bin/qinglan-caseservice" --config "$etc/qinglan-caseservice/caseservice.conf" --db "$work/cases.db" \
  --listen 127.0.0.1:0 >"$work/service.pipe" 2>&1 &
service=$!
exec 3<"$work/service.pipe"
while IFS= read -r -t 10 line <&3; do
  printf '%s\n' "$line" >>"$work/service.out"
  case $line in *listening*) break ;; esac
done
touch "$work/service.out"
grep -q 'listening on http://127.0.0.1:' "$work/service.out" || fail "the service did not start with the shipped configuration: $(cat "$work/service.out")"
kill "$service" 2>/dev/null
wait "$service" || fail "the service did not stop cleanly"
exec 3<&-

[ $failed -eq 0 ] && echo "installed layout, programs and validators: fine"
exit $failed
