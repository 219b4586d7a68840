# The results file and the table of tools/bench.sh, made from its figures R[...].
# Sourced by tools/bench.sh after the measurements.

# All figures as one flat JSON object, keys sorted; numbers stay numbers.
write_results() {
  local file=$1 k v first=1
  {
    echo "{"
    while IFS= read -r k; do
      v=${R[$k]}
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
# Bytes in KiB with one decimal.
kib() { awk -v v="$1" 'BEGIN { if (v == "") print "n/a"; else printf "%.1f KiB\n", v / 1024 }'; }

write_table() {
  local empty=${R[extract.empty.s]:-} floor=${R[extract.copy.s]:-} ours=${R[extract.setup.s]:-}
  local store=${R[extract.nsis_store.s]:-} zlib=${R[extract.nsis_zlib.s]:-}
  echo "### Measured ${R[date]} with \`${R[command]}\`"
  echo
  echo "${R[machine]}; ${R[wine]}; hyperfine ${R[hyperfine]#hyperfine }; makensis ${R[makensis]}."
  echo "Each figure is the median of ${R[runs]} runs (uninstall with the dialog: ${R[dialog_runs]}); the whole"
  echo "benchmark took ${R[bench_seconds]} s."
  echo
  echo "**Extract** (\`setup.exe /X\` into an empty folder: ${R[extract.files]} files in ${R[extract.folders]} folders, $(kib "${R[extract.bytes]}"))"
  echo
  echo "| Case | Median | × floor | × NSIS stored | Less Wine start-up |"
  echo "|---|---:|---:|---:|---:|"
  local name s
  for name in copy empty setup nsis_store nsis_zlib; do
    s=${R[extract.$name.s]:-}
    case $name in
      copy) label="\`cp -r\` of the tree, no Wine (floor)" ;;
      empty) label="empty Windows program under Wine" ;;
      setup) label="**\`setup.exe /X\`**" ;;
      nsis_store) label="NSIS, \`SetCompress off\`, \`/S /D=\`" ;;
      nsis_zlib) label="NSIS, default compression (zlib), \`/S /D=\`" ;;
    esac
    local net="—"
    case $name in setup|nsis_*) net="$(fmt "$(minus "$s" "$empty")") s" ;; esac
    echo "| $label | $(fmt "$s") s | $(times "$s" "$floor" 1) | $(times "$s" "$store") | $net |"
  done
  echo
  echo "\`setup.exe /X\` against NSIS stored: $(times "$ours" "$store"); against NSIS zlib: $(times "$ours" "$zlib");"
  echo "less Wine's start-up on both sides: $(times "$(minus "$ours" "$empty")" "$(minus "$store" "$empty")") and $(times "$(minus "$ours" "$empty")" "$(minus "$zlib" "$empty")")."
  echo

  local m
  echo "**Headless install with every offered item** (in-process times; the wall time adds Wine's start-up)"
  echo
  echo "| Machine | IDEs | Rows | Failed | Total | Per row | Rows that start a process | Their share | Wall |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|---:|"
  for m in none all; do
    [ -n "${R[install.$m.rows]:-}" ] || continue
    local label="no IDE"; [ $m = all ] && label="all 28 offered IDEs"
    echo "| $label | ${R[install.$m.ides_found]} | ${R[install.$m.rows]} | ${R[install.$m.rows_failed]} |" \
      "$(ms "${R[install.$m.total_us]}") ms | $(ms "$(ratio "${R[install.$m.rows_us]}" "${R[install.$m.rows]}" 1)") ms |" \
      "${R[install.$m.process_rows]} rows, $(ms "${R[install.$m.process_us]}") ms | $(pct "${R[install.$m.process_us]}" "${R[install.$m.total_us]}") |" \
      "$(ms "${R[install.$m.wall_us]}") ms |"
  done
  echo
  if [ -n "${R[install.all.rows]:-}${R[install.none.rows]:-}" ]; then
    echo "Time per row kind (ms in total; rows):"
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

  echo "**Uninstall** (the floor of the dialog: change records × 50 ms)"
  echo
  echo "| Machine | Change records | Without dialog (engine) | Without dialog (wall) | With dialog (Start to exit) | Floor | × floor | Files left |"
  echo "|---|---:|---:|---:|---:|---:|---:|---:|"
  for m in none all; do
    [ -n "${R[uninstall.$m.records]:-}${R[dialog.$m.walk_us]:-}" ] || continue
    local label="no IDE"; [ $m = all ] && label="all 28 offered IDEs"
    local recs=${R[uninstall.$m.records]:-}
    local floor_us=""; [ -n "$recs" ] && floor_us=$(awk -v r="$recs" 'BEGIN { print r * 50000 }')
    echo "| $label | ${recs:-n/a} | $(ms "${R[uninstall.$m.walk_us]:-}") ms | $(ms "${R[uninstall.$m.wall_us]:-}") ms |" \
      "$(ms "${R[dialog.$m.walk_us]:-}") ms | $(ms "$floor_us") ms | $(times "${R[dialog.$m.walk_us]:-}" "$floor_us" 3) |" \
      "${R[uninstall.$m.leftover_files]:-n/a} / ${R[dialog.$m.leftover_files]:-n/a} |"
  done
  echo

  echo "**Sizes** (as built; stripped of symbols in brackets)"
  echo
  echo "| Program | Size |"
  echo "|---|---:|"
  echo "| \`unqmv.exe\` | $(kib "${R[size.unqmv]}") ($(kib "${R[size.unqmv_stripped]}")) |"
  echo "| \`setup.exe\` | $(kib "${R[size.setup]}") ($(kib "${R[size.setup_stripped]}")) |"
  echo "| its payload: 354 files, \`unqmv.exe\` included | $(kib "${R[size.payload]}") |"
  echo "| **\`setup.exe\` less its payload** | $(kib "${R[size.setup_less_payload]}") |"
  echo "| \`setup.exe\` built without the payload | $(kib "${R[size.setup_bare]}") ($(kib "${R[size.setup_bare_stripped]}")) |"
  echo "| NSIS installer, stored | $(kib "${R[size.nsis_store]}") |"
  echo "| its payload: ${R[extract.files]} files, $(kv "$raw/nsis-script.kv" distinct_sources) distinct | $(kib "${R[size.nsis_payload]}") |"
  echo "| **NSIS overhead** (stored installer less its payload) | $(kib "${R[size.nsis_overhead]}") |"
  echo "| NSIS installer, zlib | $(kib "${R[size.nsis_zlib]}") |"
  echo "| empty Windows program (same toolchain and options) | $(kib "${R[size.empty]}") |"
  if [ -n "${R[warnings]:-}" ]; then
    echo
    echo "Warnings: ${R[warnings]}"
  fi
}
