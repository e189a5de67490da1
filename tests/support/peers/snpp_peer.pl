#!/usr/bin/perl
# SPDX-License-Identifier: GPL-3.0-or-later
# An SNPP server for the integration tests, built on Net::SNPP::Server (Debian: libnet-snpp-perl).
#
# Usage: snpp_peer.pl PORT RECORD_FILE
#   PORT         the port to listen on, on 127.0.0.1 only; 0 picks a free one
#   RECORD_FILE  every command line received is appended to it exactly as it arrived (CR LF included)
#
# Prints "ready PORT" once it listens, then "session N" as it accepts each connection. Serves one
# connection at a time. When Net::SNPP::Server cannot be loaded it prints "unavailable ..." and exits 3.
# Stops on SIGTERM (the default action) and, within half a second, when its parent process is gone: the
# parent is the process named by ZOLBIN_PEER_PARENT (so that a parent that dies before this script has
# started is noticed too), else the parent found at start.
#
# Differences from the module's defaults, so that the program's own dialogue is answered:
#  - any non-empty pager id is accepted (the module wants seven digits or more);
#  - LOGI is answered "250" (the module does not implement it).

use strict;
use warnings;
use IO::Select;
use Socket qw(sockaddr_in);

$| = 1;

my ( $port, $recordFile ) = @ARGV;
die "usage: $0 PORT RECORD_FILE\n" unless defined $recordFile && $port =~ /^\d+$/;

unless ( eval { require Net::SNPP::Server; 1 } ) {
    print "unavailable Net::SNPP::Server (install libnet-snpp-perl)\n";
    exit 3;
}

open( my $record, '>>:raw', $recordFile ) or die "cannot open $recordFile: $!\n";
$record->autoflush(1);

package RecordingSnppServer;
our @ISA = ('Net::SNPP::Server');

# Net::Cmd's own getline drops the line end; this one keeps the raw bytes for the record and hands the
# module the line in the form it expects ("text\n").
sub getline {
    my ($self) = @_;
    my $buffer = \${*$self}{'zolbin_pending'};
    $$buffer = '' unless defined $$buffer;
    while ( index( $$buffer, "\012" ) < 0 ) {
        my $chunk;
        my $n = sysread( $self, $chunk, 4096 );
        if ( !$n ) {
            print {$record} $$buffer if length $$buffer;    # an unterminated last line
            $$buffer = '';
            return undef;
        }
        $$buffer .= $chunk;
    }
    my $end = index( $$buffer, "\012" );
    my $raw = substr( $$buffer, 0, $end + 1, '' );
    print {$record} $raw;
    ( my $line = $raw ) =~ s/\015?\012\z/\n/;
    return $line;
}

package main;

my $server = RecordingSnppServer->new( Port => $port, BindTo => '127.0.0.1' );
$server->callback( 'validate_pager_id', sub { return defined $_[0] && length $_[0] ? $_[0] : undef } );
$server->callback( 'write_log', sub { print STDERR "@_\n" } );
$server->custom_command( 'LOGI', sub { return ( '250 Login Accepted', 1 ) } );

my ($boundPort) = sockaddr_in( getsockname( $server->socket() ) );
print "ready $boundPort\n";

my $parent = $ENV{ZOLBIN_PEER_PARENT} || getppid();
my $select = IO::Select->new( $server->socket() );
my $sessions = 0;
while (1) {
    exit 0 if getppid() != $parent;
    next unless $select->can_read(0.5);
    my $client = $server->client();
    ++$sessions;
    print "session $sessions\n";
    $server->handle_client($client);
    close($client);
}
