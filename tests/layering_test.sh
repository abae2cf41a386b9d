#!/usr/bin/env bash
# Fails on an include against the direction of the libraries. The portable core (the sources
# given, their headers and every project header they reach) includes only standard headers,
# which carry no ".h", and nothing of framework/; framework/ includes nothing of the application;
# settings/ (the settings table and the registry access) nothing above it but the framework;
# text/, the floor below all of them, includes nothing of the project outside text/; nothing
# in document/, view/ or browser/ includes the application (app/), which sits on top of them.
# Usage: layering_test.sh <source root> <core source>...
root=$1
shift
status=0
# Prints the lines of the files that match the pattern, and fails the test when there are any.
wrong() { if grep -HnE "$@" >&2; then status=1; fi; }

queue=("$@")
seen=" "
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  case $seen in *" $file "*) continue ;; esac
  seen+="$file "
  [ -f "$file" ] || continue
  wrong '^\s*#\s*include\s*(<[^>]*\.h>|"framework/)' "$file"
  [[ $file == *.cpp ]] && queue+=("${file%.cpp}.h")
  for header in $(sed -nE 's/^\s*#\s*include\s*"([^"]+)".*/\1/p' "$file"); do
    [ -f "$root/$header" ] || { echo "$file: \"$header\" is no file of the project" >&2; status=1; }
    queue+=("$root/$header")
  done
done

wrong '^\s*#\s*include\s*"((settings|app|document|destination|view|webinput|frame|browser|res)/|resource\.h")' "$root"/framework/*
wrong '^\s*#\s*include\s*"((app|document|destination|view|webinput|frame|browser|res)/|resource\.h")' "$root"/settings/*
wrong '^\s*#\s*include\s*"([^t]|t[^e]|te[^x]|tex[^t]|text[^/])' "$root"/text/*
wrong '^\s*#\s*include\s*"app/' "$root"/document/* "$root"/view/* "$root"/browser/*
[ $status -eq 0 ] || echo "wrong-direction includes above" >&2
exit $status
