# Sourced by the shell tests that read a built program's resources.
# resources <program> <folder> writes every resource into a file of its own,
# named type.name.language (the payload's uninstaller: QVLIB.28.0).
# TESSEL_WINDRES: the windres to read with; the default, the x86-64 one, reads
# both kinds of program, the i686 one only 32-bit programs.
resources() {  # program, folder
  mkdir -p "$2"
  "${TESSEL_WINDRES:-x86_64-w64-mingw32-windres}" -i "$1" -O res -o "$2.res" || return 1
  perl -e '
    my ($res, $dir) = @ARGV;
    open(my $f, "<:raw", $res) or die; local $/; my $b = <$f>; my $p = 0;
    while ($p + 8 <= length $b) {
      my ($size, $head) = unpack "V V", substr($b, $p, 8);
      my $h = substr($b, $p + 8, $head - 8); my $q = 0; my @id;
      for (1 .. 2) {   # type and name: 0xFFFF and a number, or a UTF-16 string
        if (unpack("v", substr($h, $q, 2)) == 0xFFFF) { push @id, unpack("v", substr($h, $q + 2, 2)); $q += 4 }
        else { my $s = ""; while ((my $c = unpack("v", substr($h, $q, 2))) != 0) { $s .= chr $c; $q += 2 } $q += 2; push @id, $s }
      }
      $q = ($q + 3) & ~3;
      my $lang = unpack "v", substr($h, $q + 6, 2);
      if ($id[0] ne "0") {
        open(my $o, ">:raw", "$dir/$id[0].$id[1].$lang") or die; print $o substr($b, $p + $head, $size); close $o;
      }
      $p = ($p + $head + $size + 3) & ~3;
    }' "$2.res" "$2"
}
