#!/usr/bin/perl
# tlb_unstamp.pl FILE: blanks the build date and time that widl records in a
# type library's custom data (the "Created by WIDL version N at DATE" text and
# the time value after it), keeping every length and offset, so that the same
# sources give the same bytes.
use strict;
use warnings;

my $file = shift or die "usage: tlb_unstamp.pl FILE\n";
open(my $in, '<:raw', $file) or die "tlb_unstamp: $file: $!\n";
my $data = do { local $/; <$in> };
close($in);

my $at = index($data, 'Created by WIDL version ');
# A string entry: VT_BSTR (8) as 16 bits, a 32-bit length, then the text.
if ($at >= 6 && substr($data, $at - 6, 2) eq "\x08\x00") {
  my $len = unpack('V', substr($data, $at - 4, 4));
  if ($at + $len <= length($data)) {
    my $text = substr($data, $at, $len);
    my $date = index($text, ' at ');
    if ($date > 0) {
      my $from = $date + 4;
      substr($data, $at + $from, $len - $from) = '-' x ($len - $from);
    }
    # The time stamp entry that follows, after padding to 4 bytes: VT_UI4 (0x13)
    # and a 32-bit value.
    my $next = ($at - 6) + ((6 + $len + 3) & ~3);
    if (substr($data, $next, 2) eq "\x13\x00") {
      substr($data, $next + 2, 4) = "\0\0\0\0";
    }
  }
}

my $tmp = "$file.tmp$$";
open(my $out, '>:raw', $tmp) or die "tlb_unstamp: $tmp: $!\n";
print $out $data or die "tlb_unstamp: $tmp: $!\n";
close($out) or die "tlb_unstamp: $tmp: $!\n";
rename($tmp, $file) or die "tlb_unstamp: $file: $!\n";
