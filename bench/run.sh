#!/bin/bash
# `make bench`: what users feel, each figure beside its floor or peer measured in the same run.
# Prints one table (figure, value, floor or peer, ratio, goal, ok/over) and exits 0 either way.
# Usage: bench/run.sh [BUILD_DIR]
set -u
build=$(cd "${1:-build}" && pwd)
cli=$build/cli/tallyx-cli
vprinter=$build/vprinter/tallyx-vprinter
app=$build/app/tallyx
bin=$build/bench
tmp=$(mktemp -d /tmp/tallyx-bench.XXXXXX)
pids=()

cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
    rm -rf "$tmp"
}
trap cleanup EXIT

say() { echo "bench: $*" >&2; }
load_start=$(cut -d' ' -f1-3 /proc/loadavg)
rows=()
# row FIGURE VALUE PEER RATIO GOAL VERDICT
row() { rows+=("| $1 | $2 | $3 | $4 | $5 | $6 |"); }
verdict() { awk -v v="$1" -v g="$2" -v d="$3" 'BEGIN { ok = (d == "le") ? v <= g : v >= g; print ok ? "ok" : "over" }'; }
calc() { awk "BEGIN { printf \"$1\", $2 }"; }
median() { sort -g | awk '{ a[NR] = $1 } END { print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2 }'; }

# Starts a virtual printer on any free port; sets vp_pid and vp_port.
start_printer() {
    local err=$tmp/vprinter.$RANDOM.err
    "$vprinter" --listen 127.0.0.1:0 --log "$tmp/vprinter.log" "$@" 2>"$err" &
    vp_pid=$!
    pids+=("$vp_pid")
    for _ in $(seq 100); do
        grep -q ready "$err" 2>/dev/null && break
        sleep 0.05
    done
    vp_port=$(sed -n 's/.*ready on 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$err")
    [ -n "$vp_port" ] || { say "the virtual printer did not start: $(cat "$err")"; exit 0; }
}
stop_printer() { kill "$vp_pid" 2>/dev/null; wait "$vp_pid" 2>/dev/null; }
resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
# hyperfine's median of command N (1-based) in seconds, from its CSV export.
hf_median() { awk -F, -v n="$2" 'NR == n + 1 { print $4 }' "$1"; }
# hf_pair NAME RUNS FLOOR_CMD CMD: both commands in six rounds of RUNS runs each, the order
# swapped every round, so a change in the machine's load falls on both. Sets floor_s and
# under_s (medians of the round medians, seconds), ratio and diff_ms (medians of the rounds').
hf_pair() {
    local name=$1 runs=$2 a=$3 b=$4 round csv
    : >"$tmp/$name.rounds"
    for round in 1 2 3 4 5 6; do
        csv=$tmp/$name.$round.csv
        if [ $((round % 2)) = 1 ]; then
            hyperfine -N --warmup 2 --runs "$runs" --export-csv "$csv" "$a" "$b" >/dev/null 2>"$tmp/hf.err" &&
                echo "$(hf_median "$csv" 1) $(hf_median "$csv" 2)" >>"$tmp/$name.rounds"
        else
            hyperfine -N --warmup 2 --runs "$runs" --export-csv "$csv" "$b" "$a" >/dev/null 2>"$tmp/hf.err" &&
                echo "$(hf_median "$csv" 2) $(hf_median "$csv" 1)" >>"$tmp/$name.rounds"
        fi || say "hyperfine: $(cat "$tmp/hf.err")"
    done
    floor_s=$(awk '{ print $1 }' "$tmp/$name.rounds" | median)
    under_s=$(awk '{ print $2 }' "$tmp/$name.rounds" | median)
    ratio=$(awk '{ print $2 / $1 }' "$tmp/$name.rounds" | median)
    diff_ms=$(awk '{ print ($2 - $1) * 1000 }' "$tmp/$name.rounds" | median)
}

# --- a network command on loopback, beside the pause the delivery rule makes -------------------
say "network command (hyperfine)"
start_printer --pty "$tmp/pty"
hf_pair net 5 "sleep 0.3" "$cli --port Ethernet --ip 127.0.0.1 --tcp-port $vp_port init"
ratio=$(calc %.3f "$ratio")
row "network command to the virtual printer, whole tallyx-cli" "$(calc '%.1f ms' "$under_s * 1000")" \
    "$(calc '%.1f ms (sleep 0.3)' "$floor_s * 1000")" "$ratio ×" "≤ 1.05 ×" "$(verdict "$ratio" 1.05 le)"

# --- a command over the virtual printer's pty, beside the same command dry -----------------------
say "pty command (hyperfine)"
hf_pair pty 15 "$cli --port $tmp/pty --dry-run init" "$cli --port $tmp/pty init"
more=$(calc %+.2f "$diff_ms")
row "command over the virtual printer's pty, whole tallyx-cli" "$(calc '%.2f ms' "$under_s * 1000")" \
    "$(calc '%.2f ms (--dry-run)' "$floor_s * 1000")" "$more ms" "≤ +2 ms" "$(verdict "$more" 2 le)"

# --- the whole status read back (four DLE EOT and four GS I), beside the same command dry ---------
say "status over the pty and TCP (hyperfine)"
hf_pair status-pty 15 "$cli --port $tmp/pty --dry-run status" "$cli --port $tmp/pty status"
more=$(calc %+.2f "$diff_ms")
row "status over the virtual printer's pty, whole tallyx-cli" "$(calc '%.2f ms' "$under_s * 1000")" \
    "$(calc '%.2f ms (--dry-run)' "$floor_s * 1000")" "$more ms" "≤ +5 ms" "$(verdict "$more" 5 le)"
hf_pair status-tcp 15 "$cli --port Ethernet --ip 127.0.0.1 --tcp-port $vp_port --dry-run status" \
    "$cli --port Ethernet --ip 127.0.0.1 --tcp-port $vp_port status"
more=$(calc %+.2f "$diff_ms")
row "status over TCP on loopback, whole tallyx-cli" "$(calc '%.2f ms' "$under_s * 1000")" \
    "$(calc '%.2f ms (--dry-run)' "$floor_s * 1000")" "$more ms" "—" "—"
stop_printer

# --- tallyx start until its window is mapped, beside a one-dialog Qt program ----------------------
say "start-up under Xvfb"
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
pids+=("$!")
for _ in $(seq 100); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.05; done
: >"$tmp/app"; : >"$tmp/peer"
for round in 0 1 2 3 4 5 6 7 8; do
    for who in app peer; do
        if [ "$who" = app ]; then prog=$app; else prog=$bin/tallyx-bench-peer; fi
        out=$(DISPLAY=$display QT_QPA_PLATFORM=xcb "$bin/tallyx-bench-mapwatch" "$prog" 2>>"$tmp/watch.err")
        [ "$round" -gt 0 ] && [ -n "$out" ] && echo "$out" >>"$tmp/$who"   # round 0 warms the caches
    done
done
if [ -s "$tmp/app" ] && [ -s "$tmp/peer" ]; then
    app_ms=$(cut -d' ' -f1 "$tmp/app" | median); peer_ms=$(cut -d' ' -f1 "$tmp/peer" | median)
    app_kb=$(cut -d' ' -f2 "$tmp/app" | median); peer_kb=$(cut -d' ' -f2 "$tmp/peer" | median)
    say "tallyx maps \"$(head -1 "$tmp/app" | cut -d' ' -f3-)\""
    ratio=$(calc %.2f "$app_ms / $peer_ms")
    row "tallyx start until its main window is mapped (Xvfb)" "$(calc '%.0f ms' "$app_ms")" \
        "$(calc '%.0f ms (one QDialog)' "$peer_ms")" "$ratio ×" "≤ 1.2 ×" "$(verdict "$ratio" 1.2 le)"
    more=$(calc %+.1f "($app_kb - $peer_kb) / 1024")
    row "tallyx resident memory when mapped" "$(calc '%.1f MB' "$app_kb / 1024")" \
        "$(calc '%.1f MB (one QDialog)' "$peer_kb / 1024")" "$more MB" "≤ +15 MB" "$(verdict "$more" 15 le)"
else
    say "start-up not measured: $(cat "$tmp/watch.err")"
fi

# --- in process: the bitmap raster and every builder ---------------------------------------------
say "in-process builders (Google Benchmark)"
"$bin/tallyx-bench-commands" --benchmark_format=csv --benchmark_min_time=0.2 \
    >"$tmp/commands.csv" 2>/dev/null
# name,iterations,real_time,cpu_time,time_unit,...,error_occurred,error_message. CPU time: the
# machine may be shared, and waiting for a core is not the builder's cost.
while IFS=, read -r name _ _ cpu unit _ _ _ failed _; do
    ns=$(awk -v t="$cpu" -v u="$unit" 'BEGIN { f = (u == "ms") ? 1e6 : (u == "us") ? 1e3 : 1; print t * f }')
    if [ "$name" = '"Bitmap384x336"' ]; then
        figure="bitmap to column raster, 384 × 336 24-bit, in process"
        value=$(calc %.3f "$ns / 1e6"); unit=ms; goal=0.5
    else
        figure="builder ${name//\"/}, in process"
        value=$(calc %.3f "$ns / 1e3"); unit=µs; goal=2
    fi
    if [ "$failed" = true ]; then
        row "$figure" "input refused" "—" "—" "≤ $goal $unit" "over"
    else
        row "$figure" "$value $unit CPU" "—" "—" "≤ $goal $unit" "$(verdict "$value" "$goal" le)"
    fi
done < <(grep '^"' "$tmp/commands.csv")

# --- a 4000 x 3000 JPEG photo to a 576-dot Floyd-Steinberg picture, beside Pillow ---------------
# The photo is made here: plasma with grain, 3.5 MB at quality 90, about what a 12-megapixel
# camera writes (the grain is most of the decoding time). Pillow is
# Debian's python3-pil, run by /usr/bin/python3: open, grey, LANCZOS to 576 wide, convert('1').
say "photo to picture bytes: tallyx-cli beside Pillow"
convert -size 1000x750 -seed 29 plasma:fractal -resize 4000x3000\! -attenuate 0.25 +noise Gaussian \
    -quality 90 "$tmp/photo.jpg" 2>"$tmp/convert.err"
cat >"$tmp/pillow.py" <<'PY'
import sys
from PIL import Image
image = Image.open(sys.argv[1]).convert('L')
image = image.resize((576, round(image.height * 576 / image.width)), Image.LANCZOS)
sys.stdout.buffer.write(image.convert('1').tobytes())
PY
if [ ! -s "$tmp/photo.jpg" ]; then
    row "4000 × 3000 JPEG to a 576-dot Floyd-Steinberg picture, whole tallyx-cli" "skipped" \
        "skipped ($(head -c 100 "$tmp/convert.err"))" "—" "≥ 2 × faster" "skipped"
elif ! /usr/bin/python3 "$tmp/pillow.py" "$tmp/photo.jpg" >/dev/null 2>"$tmp/pillow.err"; then
    row "4000 × 3000 JPEG to a 576-dot Floyd-Steinberg picture, whole tallyx-cli" "skipped" \
        "skipped (no Pillow: $(head -c 100 "$tmp/pillow.err"))" "—" "≥ 2 × faster" "skipped"
else
    hf_pair photo 5 "/usr/bin/python3 $tmp/pillow.py $tmp/photo.jpg" \
        "$cli --dry-run picture $tmp/photo.jpg --dither floyd-steinberg --paper 80"
    faster=$(calc %.1f "1 / $ratio")
    row "4000 × 3000 JPEG to a 576-dot Floyd-Steinberg picture, whole tallyx-cli --dry-run" \
        "$(calc '%.0f ms' "$under_s * 1000")" "$(calc '%.0f ms (Pillow, python3)' "$floor_s * 1000")" \
        "$faster × faster" "≥ 2 × faster" "$(verdict "$faster" 2 ge)"
fi

# --- the virtual printer's pace ------------------------------------------------------------------
say "virtual printer: one connection per receipt"
start_printer
read -r sent secs < <("$bin/tallyx-bench-feed" connections 127.0.0.1 "$vp_port" 5000)
rate=$(calc %.0f "${sent:-0} / ${secs:-1}")
row "virtual printer, one connection per receipt, one after another" "$rate receipts/s ($sent in $(calc %.1f "${secs:-0}") s)" \
    "—" "—" "≥ 500 /s" "$(verdict "$rate" 500 ge)"
say "virtual printer: one stream of 1,000 receipts"
read -r sent secs < <("$bin/tallyx-bench-feed" stream 127.0.0.1 "$vp_port" 1000)
rate=$(calc %.0f "${sent:-0} / ${secs:-1}")
row "virtual printer, one stream of 1,000 receipts" "$rate receipts/s" "—" "—" "≥ 2,000 /s" "$(verdict "$rate" 2000 ge)"
stop_printer

# --- memory over a long cutter test ----------------------------------------------------------------
say "virtual printer memory over 99,999 cut cycles"
start_printer
"$bin/tallyx-bench-feed" cycles 127.0.0.1 "$vp_port" 1 1000 >/dev/null
first=$(resident_kb "$vp_pid")
"$bin/tallyx-bench-feed" cycles 127.0.0.1 "$vp_port" 1001 99999 >/dev/null
last=$(resident_kb "$vp_pid")
stop_printer
ratio=$(calc %.2f "$last / $first")
row "virtual printer memory after 99,999 cut cycles" "$(calc '%.1f MB' "$last / 1024")" \
    "$(calc '%.1f MB (1,000 cycles)' "$first / 1024")" "$ratio ×" "≤ 1.1 ×" "$(verdict "$ratio" 1.1 le)"

say "tallyx-cli cutter-test memory over 99,999 cycles"
read -r first _ < <("$bin/tallyx-bench-peakmem" "$cli" --dry-run cutter-test --count 1000 --delay 0 2>&1 >/dev/null | tail -1)
read -r last _ < <("$bin/tallyx-bench-peakmem" "$cli" --dry-run cutter-test --count 99999 --delay 0 2>&1 >/dev/null | tail -1)
ratio=$(calc %.2f "$last / $first")
row "tallyx-cli --dry-run cutter-test peak memory, 99,999 cycles" "$(calc '%.1f MB' "$last / 1024")" \
    "$(calc '%.1f MB (1,000 cycles)' "$first / 1024")" "$ratio ×" "≤ 1.1 ×" "$(verdict "$ratio" 1.1 le)"

# --- receipts drawn by the hundred and the thousand: render beside receiptline's own SVG ---------
# Two streams of tests/vprinter/corpus, made by make-corpus.mjs from the documents below:
# receiptline.bin (two receipts of text, a QR code and a Code 128) and ten-barcodes.bin (one
# receipt of ten Code 128). node and receiptline (found by require: NODE_PATH or the global
# modules) are optional; without them the rows say so. Memory: peak at 1,000 beside 100.
corpus=$(dirname "$0")/../tests/vprinter/corpus
cat >"$tmp/rl-svg.mjs" <<'NODE'
import { createRequire } from 'node:module';
import { writeFileSync } from 'node:fs';
const receiptline = createRequire(import.meta.url)('receiptline');
const [kind, count, dir] = [process.argv[2], Number(process.argv[3]), process.argv[4]];
const docs = {
    receiptline: ['^^^TALLYX CAFE\nItem | Qty | Price\n-\nCoffee | 2 | 7.00\nCake | 1 | 6.50\n-\n^TOTAL | ^13.50\n' +
        '{code:https://tallyx.example/r/42; option:qrcode,4,m}', 'Second receipt\n{code:TALLYX42; option:code128,2,72,hri}'],
    'ten-barcodes': [['^TEN BARCODES', ...Array.from({ length: 10 },
        (_, i) => `{code:TALLYX${String(i).padStart(4, '0')}; option:code128,2,72,hri}`)].join('\n')],
};
const printer = { cpl: 48, encoding: 'multilingual', spacing: false };
const receipts = docs[kind];
for (let i = 0; i < count; i++)
    writeFileSync(`${dir}/receipt-${i + 1}.svg`, receiptline.transform(receipts[i % receipts.length], printer));
NODE
for kind in receiptline ten-barcodes; do
    per_file=$([ "$kind" = receiptline ] && echo 2 || echo 1)
    for count in 100 1000; do
        say "$count $kind receipts: render beside receiptline's SVG"
        for _ in $(seq $((count / per_file))); do cat "$corpus/$kind.bin"; done >"$tmp/$kind-$count.bin"
        mkdir -p "$tmp/$kind-$count-png" "$tmp/$kind-$count-svg"
        figure="tallyx-vprinter render --profile tm-t88 of $count $kind receipts, whole process"
        render_cmd="env QT_QPA_PLATFORM=offscreen $vprinter render --profile tm-t88 --out $tmp/$kind-$count-png $tmp/$kind-$count.bin"
        svg_cmd="node $tmp/rl-svg.mjs $kind $count $tmp/$kind-$count-svg"
        if ! command -v node >/dev/null || ! $svg_cmd 2>"$tmp/rl-node.err"; then
            say "receiptline's renderer not run: $(head -c 200 "$tmp/rl-node.err" 2>/dev/null || echo 'no node')"
            row "$figure" "skipped" "skipped (no node or no receiptline)" "—" "≥ 4 × faster" "skipped"
        elif [ "$($render_cmd 2>/dev/null | wc -l)" != "$count" ]; then
            row "$figure" "not $count pictures" "—" "—" "≥ 4 × faster" "over"
        else
            hf_pair "rl-$kind-$count" 3 "$svg_cmd" "$render_cmd"
            faster=$(calc %.1f "1 / $ratio")
            row "$figure" "$(calc '%.0f ms' "$under_s * 1000")" "$(calc '%.0f ms (receiptline SVG, node)' "$floor_s * 1000")" \
                "$faster × faster" "≥ 4 × faster" "$(verdict "$faster" 4 ge)"
        fi
        read -r peak _ < <(env QT_QPA_PLATFORM=offscreen "$bin/tallyx-bench-peakmem" $render_cmd 2>&1 >/dev/null | tail -1)
        eval "peak_$count=$peak"
    done
    ratio=$(calc %.2f "$peak_1000 / $peak_100")
    row "tallyx-vprinter render peak memory, 1,000 $kind receipts" "$(calc '%.1f MB' "$peak_1000 / 1024")" \
        "$(calc '%.1f MB (100 receipts)' "$peak_100 / 1024")" "$ratio ×" "≤ 1.1 ×" "$(verdict "$ratio" 1.1 le)"
done

# --- the printer application: a PWG receipt from submission to its last byte -------------------
say "tallyx-printer: one-page and 20-page PWG receipts"
printer_app=$build/printer/tallyx-printer
"$bin/tallyx-bench-pwg" "$tmp/one.pwg" 1 && "$bin/tallyx-bench-pwg" "$tmp/twenty.pwg" 20
start_printer --profile zh-80 --out "$tmp/pa-out"
pa_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
mkdir -p "$tmp/pa-spool"
"$printer_app" server -o server-port="$pa_port" -o spool-directory="$tmp/pa-spool" -o log-file="$tmp/pa.log" \
    -o log-level=info -o auth-service=none 2>/dev/null &
pids+=("$!")
for _ in $(seq 100); do grep -q 'Starting system' "$tmp/pa.log" 2>/dev/null && break; sleep 0.05; done
"$printer_app" add -u "ipp://localhost:$pa_port" -d bench -v "socket://127.0.0.1:$vp_port" -m zh-80 >/dev/null 2>&1
cat > "$tmp/print.test" <<'IPP'
{
  OPERATION Print-Job
  GROUP operation-attributes-tag
  ATTR charset attributes-charset utf-8
  ATTR naturalLanguage attributes-natural-language en
  ATTR uri printer-uri $uri
  ATTR mimeMediaType document-format image/pwg-raster
  FILE $filename
  STATUS successful-ok
}
IPP
# Seconds from the submission until the virtual printer logged the job's cut (its last bytes).
submit_to_cut() {
    local cuts_before start
    cuts_before=$(grep -c '"1D 56' "$tmp/vprinter.log")
    start=$(date +%s.%N)
    ipptool -d filename="$1" "ipp://localhost:$pa_port/ipp/print/bench" "$tmp/print.test" >/dev/null 2>&1 &
    for _ in $(seq 3000); do
        [ "$(grep -c '"1D 56' "$tmp/vprinter.log")" -gt "$cuts_before" ] && break
        sleep 0.01
    done
    echo "$(calc %.3f "$(date +%s.%N) - $start")"
}
submit_to_cut "$tmp/one.pwg" >/dev/null   # the first job also opens the printer's connection
one=$(for _ in 1 2 3 4 5; do submit_to_cut "$tmp/one.pwg"; done | median)
job=$(grep -o 'Job [0-9]*\] Starting' "$tmp/pa.log" | tail -1 | grep -o '[0-9]*')
row "tallyx-printer: 80 mm PWG receipt of one page, submission to its last byte on the virtual printer" \
    "$(calc '%.0f ms' "$one * 1000")" "—" "—" "≤ 2,000 ms" "$(verdict "$one" 2 le)"
twenty=$(submit_to_cut "$tmp/twenty.pwg")
row "tallyx-printer: 20-page PWG job" "$(calc '%.1f pages/s' "20 / $twenty")" "—" "—" "—" "—"
# Where the one page's time goes: the job's own log lines (receipt to start, start to end).
say "last one-page job $job: $(grep "Job $job\]" "$tmp/pa.log" | grep -E 'Starting|Completed|Received' | cut -c4-27,29- | tr '\n' ';')"
"$printer_app" shutdown -u "ipp://localhost:$pa_port" >/dev/null 2>&1
stop_printer
# --- a status round trip through a forwarding printer, beside the same asked of the real one -----
start_printer
real_port=$vp_port real_pid=$vp_pid
start_printer --forward "socket://127.0.0.1:$real_port"
direct_us=$("$bin/tallyx-bench-roundtrip" "$real_port" 500)
forward_us=$("$bin/tallyx-bench-roundtrip" "$vp_port" 500)
if [ -n "$direct_us" ] && [ -n "$forward_us" ]; then
    added_ms=$(calc %.2f "($forward_us - $direct_us) / 1000")
    row "status round trip through --forward on loopback, median of 500" "$(calc '%.2f ms' "$forward_us / 1000")" \
        "$(calc '%.2f ms (the real printer asked directly)' "$direct_us / 1000")" "+$added_ms ms" "≤ +2 ms" \
        "$(verdict "$added_ms" 2 le)"
else
    row "status round trip through --forward on loopback, median of 500" "no answer" "—" "—" "≤ +2 ms" "over"
fi
stop_printer
kill "$real_pid" 2>/dev/null && wait "$real_pid" 2>/dev/null

# --- the main window while the sender works --------------------------------------------------------
say "the window during a network retry and ten quick presses"
if answer=$(env QT_QPA_PLATFORM=offscreen "$bin/tallyx-bench-window-answer" 2>"$tmp/answer.err"); then
    read -r _ until_box gap box < <(grep '^retry ' <<<"$answer")
    row "main window, longest wait of its event loop during a network command's retry (box after ${until_box} ms: $box)" \
        "$gap ms" "—" "—" "≤ 300 ms" "$(verdict "$gap" 300 le)"
    read -r _ pressing inside got inorder _ < <(grep '^presses ' <<<"$answer")
    row "ten command buttons pressed 0.15 s apart: time inside the presses (over ${pressing} ms of pressing)" \
        "$inside ms" "—" "—" "≤ 150 ms" "$(verdict "$inside" 150 le)"
    row "…those ten at the printer once each, in order" "$inorder of $got" "—" "—" "10 of 10" \
        "$( [ "$inorder" = 10 ] && [ "$got" = 10 ] && echo ok || echo over)"
else
    say "window-answer: $(head -c 200 "$tmp/answer.err")"
fi

echo "| figure | value | floor or peer | ratio | goal | result |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
echo
echo "$(nproc) cores, load average at the start $load_start, at the end $(cut -d' ' -f1-3 /proc/loadavg)."
exit 0
