<#
.SYNOPSIS
Checks a downloaded release of Quelix Disk-Info on Windows.

.DESCRIPTION
1. SHA256SUMS.p7s is a signature of SHA256SUMS by exactly the certificate whose SHA-256 fingerprint
   is -Fingerprint (the publisher's, as docs/download.md and the release notes give it; never take
   it from the download itself), and that certificate is one for code signing;
2. every file of SHA256SUMS that the folder holds has its hash there (at least one must).
It prints the certificate's subject. Trust comes from the fingerprint, not from a CA: any
certificate that a CA issued, a web server's for one, is refused unless it is that one.

.EXAMPLE
powershell -ExecutionPolicy Bypass -File Verify-Release.ps1 -Fingerprint 3A:5F:... -Folder Downloads
#>
param(
    [Parameter(Mandatory = $true)][string]$Fingerprint,
    [string]$Folder = '.'
)
$ErrorActionPreference = 'Stop'
Add-Type -AssemblyName System.Security

function Refuse([string]$Reason) {
    Write-Host "NOT VERIFIED: $Reason" -ForegroundColor Red
    exit 1
}

$pin = ($Fingerprint -replace '[:\s]', '').ToUpperInvariant()
if ($pin -notmatch '^[0-9A-F]{64}$') {
    Write-Host 'The fingerprint must be 64 hex digits (a SHA-256 fingerprint), colons allowed.'
    exit 2
}
$Folder = (Resolve-Path -LiteralPath $Folder).Path
$sumsPath = Join-Path $Folder 'SHA256SUMS'
$signaturePath = Join-Path $Folder 'SHA256SUMS.p7s'
foreach ($path in $sumsPath, $signaturePath) {
    if (-not (Test-Path -LiteralPath $path -PathType Leaf)) { Refuse "$path is missing" }
}

# The detached signature over the bytes of SHA256SUMS.
$content = New-Object System.Security.Cryptography.Pkcs.ContentInfo -ArgumentList (, [IO.File]::ReadAllBytes($sumsPath))
$cms = New-Object System.Security.Cryptography.Pkcs.SignedCms -ArgumentList $content, $true
try { $cms.Decode([IO.File]::ReadAllBytes($signaturePath)) } catch { Refuse "SHA256SUMS.p7s is no signature: $_" }
if ($cms.SignerInfos.Count -ne 1) { Refuse "SHA256SUMS.p7s holds $($cms.SignerInfos.Count) signatures, not one" }
$signer = $cms.SignerInfos[0]
$cert = $signer.Certificate
if ($null -eq $cert) { Refuse 'SHA256SUMS.p7s does not carry the certificate of its signer' }

$sha256 = [System.Security.Cryptography.SHA256]::Create()
$actual = -join ($sha256.ComputeHash($cert.RawData) | ForEach-Object { $_.ToString('X2') })
if ($actual -ne $pin) { Refuse "SHA256SUMS is signed by $($cert.Subject), whose certificate's SHA-256 is $actual, not $pin" }

$codeSigning = '1.3.6.1.5.5.7.3.3'
$usages = $cert.Extensions | Where-Object { $_ -is [System.Security.Cryptography.X509Certificates.X509EnhancedKeyUsageExtension] }
if (-not ($usages -and ($usages.EnhancedKeyUsages | Where-Object { $_.Value -eq $codeSigning }))) {
    Refuse "the certificate $($cert.Subject) is not one for code signing"
}
# The signature alone: the fingerprint, not a CA, says whose certificate it is.
try { $signer.CheckSignature($true) } catch { Refuse "SHA256SUMS.p7s is not $($cert.Subject)'s signature of SHA256SUMS: $_" }
Write-Host "SHA256SUMS is signed by: $($cert.Subject)"
Write-Host "  (certificate SHA-256 $pin)"

$checked = 0
$failed = 0
foreach ($line in [IO.File]::ReadAllLines($sumsPath)) {
    if ($line -notmatch '^([0-9a-f]{64})  (.+)$') { Refuse "SHA256SUMS has a line of another form: $line" }
    $expected = $Matches[1]
    $name = $Matches[2]
    $path = Join-Path $Folder ($name -replace '/', '\')
    if (-not (Test-Path -LiteralPath $path -PathType Leaf)) { continue }
    $checked++
    if ((Get-FileHash -LiteralPath $path -Algorithm SHA256).Hash.ToLowerInvariant() -eq $expected) {
        Write-Host "${name}: OK"
    } else {
        Write-Host "${name}: FAILED" -ForegroundColor Red
        $failed++
    }
}
if ($checked -eq 0) { Refuse 'none of the files of SHA256SUMS is in the folder' }
if ($failed -ne 0) { Refuse "$failed file(s) do not have their hash in SHA256SUMS" }
Write-Host 'Verified.'
