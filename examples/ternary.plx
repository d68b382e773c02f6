title:Liquid compositions on the residue curve
indeplab:Methanol
triangular:
numpoints:6
numindep:1
numdep:1
deplab:Water
deplow:0
dephigh:1
indeplow:0
indephigh:1
values:
0.10 0.22 0.35 0.48 0.60 0.71
0.80 0.62 0.45 0.31 0.20 0.12
