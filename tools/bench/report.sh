# The results file and the table of tools/bench.sh, made from its figures R[...].
# Sourced by tools/bench.sh after the measurements.

# All figures as one flat JSON object, keys sorted; numbers stay numbers.
write_results() {
  local file=$1 k v first=1
  {
    echo "{"
    while IFS= read -r k; do
      v=${R[$k]:-}
      [ $first = 1 ] || echo ","
      first=0
      printf '  %s: ' "$(json_str "$k")"
      if [[ $v =~ ^-?[0-9]+(\.[0-9]+)?([eE][-+]?[0-9]+)?$ ]]; then printf '%s' "$v"
      elif [ -z "$v" ]; then printf 'null'
      else json_str "$v"; fi
    done < <(printf '%s\n' "${!R[@]}" | sort)
    echo
    echo "}"
  } >"$file"
}

# Milliseconds from microseconds, or n/a.
ms() { awk -v v="$1" 'BEGIN { if (v == "") print "n/a"; else printf "%.1f\n", v / 1000 }'; }
# A ratio shown as "N.NN×", or n/a.
times() { local r; r=$(ratio "$1" "$2" "${3:-2}"); if [ -z "$r" ]; then echo "n/a"; else echo "${r}×"; fi; }
# Percent of a in b.
pct() { local r; r=$(ratio "$1" "$2" 3); if [ -z "$r" ]; then echo "n/a"; else awk -v r="$r" 'BEGIN { printf "%.0f %%\n", r * 100 }'; fi; }
# The name of a stand-in machine in the tables.
machine_label() { if [ "$1" = all ]; then echo "all 29 offered IDEs"; else echo "no IDE"; fi; }
# Bytes in KiB with one decimal.
kib() { awk -v v="$1" 'BEGIN { if (v == "") print "n/a"; else printf "%.1f KiB\n", v / 1024 }'; }

write_table() {
  local empty=${R[extract.empty.s]:-} floor=${R[extract.copy.s]:-} ours=${R[extract.setup.s]:-}
  local store=${R[extract.nsis_store.s]:-} zlib=${R[extract.nsis_zlib.s]:-}
  echo "### Measured ${R[date]:-} with \`${R[command]:-}\`"
  echo
  echo "${R[machine]:-}; ${R[wine]:-} (${R[wine_route]:-win32} route); makensis ${R[makensis]:-}; load average ${R[load_start]:-} at the start, ${R[load_end]:-} at the end."
  echo "Each figure is the median of ${R[extract_runs]:-} runs (extract), ${R[runs]:-} runs (install, uninstall) or"
  echo "${R[dialog_runs]:-} runs (uninstall with the dialog); the whole benchmark took ${R[bench_seconds]:-} s."
  echo
  echo "**Extract** (\`setup.exe /X\` into an empty folder: ${R[extract.files]:-} files in ${R[extract.folders]:-} folders, $(kib "${R[extract.bytes]:-}"); the cases take turns, one run each per round)"
  echo
  local imports=${R[extract.imports.s]:-}
  echo "| Case | Median | Best | × floor | × NSIS stored | Less empty program | Less empty program with libraries | CPU | CPU × NSIS stored |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
  local name s label
  for name in copy floor empty ownimports imports setup setup_before nsis_store nsis_zlib; do
    s=${R[extract.$name.s]:-}
    # The earlier build's row only when one was measured.
    [ -n "$s" ] || [ "$name" != setup_before ] || continue
    case $name in
      copy) label="\`cp -r\` of the tree, no Wine (floor)" ;;
      empty) label="empty Windows program under Wine" ;;
      floor) label="Win32 floor: a program generated from the tree, CreateDirectoryW, CreateFileW, WriteFile only" ;;
      ownimports) label="the same, with the imports and manifest of \`setup.exe\`" ;;
      imports) label="the same, with the window libraries too (loaded at start before)" ;;
      setup) label="**\`setup.exe /X\`**" ;;
      setup_before) label="\`setup.exe /X\` of the earlier build (BENCH_BEFORE)" ;;
      nsis_store) label="NSIS, \`SetCompress off\`, \`/S /D=\`" ;;
      nsis_zlib) label="NSIS, default compression (zlib), \`/S /D=\`" ;;
    esac
    local net="—" net2="—"
    case $name in setup*|nsis_*) net="$(fmt "$(minus "$s" "$empty")") s"; net2="$(fmt "$(minus "$s" "$imports")") s" ;; esac
    if [[ $name = nsis_* ]] && [ -n "${R[extract.nsis_unmeasurable]:-}" ]; then
      echo "| $label | not measurable on this host | | | | | | | |"
      continue
    fi
    echo "| $label | $(fmt "$s") s | $(fmt "${R[extract.$name.best_s]:-}") s | $(times "$s" "$floor" 1) | $(times "$s" "$store") | $net | $net2 |" \
      "$(fmt "${R[extract.$name.cpu_s]:-}" 3) s | $(times "${R[extract.$name.cpu_s]:-}" "${R[extract.nsis_store.cpu_s]:-}") |"
  done
  echo
  if [ -n "${R[extract.nsis_unmeasurable]:-}" ]; then
    echo "NSIS: not measurable on this host: ${R[extract.nsis_unmeasurable]}."
  fi
  echo "\`setup.exe /X\` against NSIS stored: $(times "$ours" "$store"); against NSIS zlib: $(times "$ours" "$zlib");"
  echo "less Wine's start-up on both sides: $(times "$(minus "$ours" "$empty")" "$(minus "$store" "$empty")") and $(times "$(minus "$ours" "$empty")" "$(minus "$zlib" "$empty")");"
  echo "less the start-up with the libraries: $(times "$(minus "$ours" "$imports")" "$(minus "$store" "$imports")") and $(times "$(minus "$ours" "$imports")" "$(minus "$zlib" "$imports")")."
  echo "CPU: the program's own user and system time plus what Wine's server spent meanwhile (10 ms ticks)."
  echo

  local own=${R[extract.ownimports.s]:-} win32=${R[extract.floor.s]:-}
  echo "**Start-up** (the modes without a window, in the same rounds: each against its floor; the unattended install on a machine with no IDE, the silent uninstall removing it)"
  echo
  echo "| Case | Median | Floor | × floor | Earlier build | Saved |"
  echo "|---|---:|---|---:|---:|---:|"
  local label floorname fs
  for name in setup silent unsilent; do
    s=${R[extract.$name.s]:-}
    [ -n "$s" ] || continue
    case $name in
      setup) label="\`setup.exe /X\`"; floorname="Win32 floor"; fs=$win32 ;;
      silent) label="\`setup.exe /S <folder>\`, no IDE"; floorname="empty program, our imports"; fs=$own ;;
      unsilent) label="\`unqmv.exe <log> /S\`"; floorname="empty program, our imports"; fs=$own ;;
    esac
    local b=${R[extract.${name}_before.s]:-}
    echo "| $label | $(fmt "$s") s | $floorname $(fmt "$fs") s | $(times "$s" "$fs") | $( [ -n "$b" ] && echo "$(fmt "$b") s" || echo "n/a") |" \
      "$( [ -n "$b" ] && echo "$(fmt "$(minus "$b" "$s")") s" || echo "n/a") |"
  done
  echo
  echo "Start-up cost of the window libraries: $(fmt "$(minus "${R[extract.imports.s]:-}" "$own")") s (empty program with them less the one with our imports)."
  echo

  local m
  echo "**Headless install with every offered item** (times inside the process; the wall time adds Wine's start-up)"
  echo
  echo "| Machine | IDEs | Rows | Failed | Files | Total | Per row | Rows that start a process | Their share | Starting them alone | Wall |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
  for m in none all; do
    [ -n "${R[install.$m.rows]:-}" ] || continue
    label=$(machine_label "$m")
    local start_us="" start_total=""
    start_us=${R[install.$m.process_start_us]:-}
    [ -n "$start_us" ] && start_total=$(awk -v n="${R[install.$m.process_rows]:-}" -v u="$start_us" 'BEGIN { print n * u }')
    echo "| $label | ${R[install.$m.ides_found]:-} | ${R[install.$m.rows]:-} | ${R[install.$m.rows_failed]:-} | ${R[install.$m.files_after]:-n/a} |" \
      "$(ms "${R[install.$m.total_us]:-}") ms | $(ms "$(ratio "${R[install.$m.rows_us]:-}" "${R[install.$m.rows]:-}" 1)") ms |" \
      "${R[install.$m.process_rows]:-}: $(ms "${R[install.$m.process_us]:-}") ms | $(pct "${R[install.$m.process_us]:-}" "${R[install.$m.total_us]:-}") |" \
      "$(ms "$start_us") ms each, $(pct "$start_total" "${R[install.$m.total_us]:-}") | $(ms "${R[install.$m.wall_us]:-}") ms |"
  done
  echo
  echo "\"Starting them alone\": the median time to start an empty console program and wait for it, as the"
  echo "install starts a compiler, and that time × the rows that start a process, as a share of the total."
  echo
  if [ -n "${R[install.all.rows]:-}${R[install.none.rows]:-}" ]; then
    echo "Time per row kind (ms in total, rows in brackets):"
    echo
    echo "| Row kind | No IDE | All IDEs | All IDEs, per row |"
    echo "|---|---:|---:|---:|"
    local k
    for k in $(printf '%s\n' "${!R[@]}" | awk -F. '/^install\.(all|none)\.kind\..*\.us$/ { print $4 }' | sort -u); do
      local cn=${R[install.none.kind.$k.count]:-} un=${R[install.none.kind.$k.us]:-}
      local ca=${R[install.all.kind.$k.count]:-} ua=${R[install.all.kind.$k.us]:-}
      echo "| $k | $( [ -n "$un" ] && echo "$(ms "$un") ($cn)" || echo "—") | $( [ -n "$ua" ] && echo "$(ms "$ua") ($ca)" || echo "—") | $( [ -n "$ua" ] && ms "$(ratio "$ua" "$ca" 1)" || echo "—") |"
    done | sort -t'|' -k4 -g -r
    echo
  fi

  echo "**Uninstall** (the floor with the dialog: change records × 50 ms)"
  echo
  echo "| Machine | Change records | Without dialog (engine) | Without dialog (wall) | With dialog (Start to end of walk) | Floor | × floor | Beyond floor and engine, per record | Dialog up / closing | Files left |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|"
  for m in none all; do
    [ -n "${R[uninstall.$m.records]:-}${R[dialog.$m.walk_us]:-}" ] || continue
    label=$(machine_label "$m")
    local recs=${R[uninstall.$m.records]:-} walk=${R[dialog.$m.walk_us]:-} engine=${R[uninstall.$m.walk_us]:-}
    local floor_us="" beyond=""
    [ -n "$recs" ] && floor_us=$(awk -v r="$recs" 'BEGIN { print r * 50000 }')
    [ -n "$recs" ] && [ -n "$walk" ] && [ -n "$engine" ] &&
      beyond=$(awk -v w="$walk" -v f="$floor_us" -v e="$engine" -v r="$recs" 'BEGIN { if (r > 0) print (w - f - e) / r }')
    echo "| $label | ${recs:-n/a} | $(ms "$engine") ms | $(ms "${R[uninstall.$m.wall_us]:-}") ms |" \
      "$(ms "$walk") ms | $(ms "$floor_us") ms | $(times "$walk" "$floor_us" 2) | $(ms "$beyond") ms |" \
      "$(ms "${R[dialog.$m.dialog_us]:-}") / $(ms "${R[dialog.$m.close_us]:-}") ms |" \
      "${R[uninstall.$m.leftover_files]:-n/a} / ${R[dialog.$m.leftover_files]:-n/a} |"
  done
  echo
  echo "The walk with the dialog ends when the engine enables Cancel again. \"Dialog up\": from starting"
  echo "\`unqmv.exe\` to its dialog showing; \"closing\": from the end of the walk until the dialog is gone, which"
  echo "under Xvfb without a window manager includes Wine's wait of about 2 s for one when it hides a window."
  echo "Files left: after the uninstall without / with the dialog (with it, the running \`unqmv.exe\` stays)."
  echo

  if [ -n "${R[jobs.floor.s]:-}" ]; then
    echo "**Concurrent builds**: \`setup.exe /S\` on stand-in IDEs whose compilers take 2 s each (medians of ${R[jobs.runs]:-} rounds, the cases taking turns in each)"
    echo
    echo "| Case | Median | × floor |"
    echo "|---|---:|---:|"
    echo "| six IDEs, \`/J=1\` | $(fmt "${R[jobs.serial.s]:-}") s | ${R[jobs.serial.ratio]:-n/a}× |"
    [ -n "${R[jobs.serial_before.s]:-}" ] &&
      echo "| six IDEs, the build before (\`BENCH_BEFORE\`) | $(fmt "${R[jobs.serial_before.s]:-}") s | ${R[jobs.serial_before.ratio]:-n/a}× |"
    echo "| six IDEs, default (${R[jobs.default_jobs]:-?} logical processors) | $(fmt "${R[jobs.default.s]:-}") s | ${R[jobs.default.ratio]:-n/a}× |"
    echo "| six IDEs, \`/J=6\` | $(fmt "${R[jobs.six.s]:-}") s | ${R[jobs.six.ratio]:-n/a}× |"
    echo "| the longest IDE alone (the floor) | $(fmt "${R[jobs.floor.s]:-}") s | 1.00× |"
    echo
  fi

  echo "**Sizes** (as built; stripped of symbols in brackets)"
  echo
  echo "| Program | Size |"
  echo "|---|---:|"
  echo "| \`unqmv.exe\` | $(kib "${R[size.unqmv]:-}") ($(kib "${R[size.unqmv_stripped]:-}")) |"
  echo "| \`setup.exe\` | $(kib "${R[size.setup]:-}") ($(kib "${R[size.setup_stripped]:-}")) |"
  echo "| its payload: 354 files, \`unqmv.exe\` included | $(kib "${R[size.payload]:-}") |"
  echo "| **\`setup.exe\` less its payload** | $(kib "${R[size.setup_less_payload]:-}") |"
  echo "| \`setup.exe\` built without the payload | $(kib "${R[size.setup_bare]:-}") ($(kib "${R[size.setup_bare_stripped]:-}")) |"
  echo "| NSIS installer, stored | $(kib "${R[size.nsis_store]:-}") |"
  echo "| its payload: ${R[extract.files]:-} files, ${R[size.nsis_distinct]:-?} distinct | $(kib "${R[size.nsis_payload]:-}") |"
  echo "| **NSIS overhead** (stored installer less its payload) | $(kib "${R[size.nsis_overhead]:-}") |"
  echo "| NSIS installer, zlib | $(kib "${R[size.nsis_zlib]:-}") |"
  echo "| empty Windows program (same toolchain and options) | $(kib "${R[size.empty]:-}") ($(kib "${R[size.empty_stripped]:-}")) |"
  if [ -n "${R[warnings]:-}" ]; then
    echo
    echo "Warnings: ${R[warnings]:-}"
  fi
}
