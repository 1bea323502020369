import re
NAMES=['C','C#','D','D#','E','F','F#','G','G#','A','A#','B']
def midi(n):  # "C#5" -> number
    m=re.match(r'([A-G]#?)(-?\d)',n); return NAMES.index(m.group(1))+12*(int(m.group(2))+1)
def name(k): return f"{NAMES[k%12]}{k//12-1}"
def chord(sym):
    m=re.match(r'([A-G]#?)(m7|m|7|maj7)?$',sym); root=NAMES.index(m.group(1)); q=m.group(2) or ''
    iv={'':[0,4,7],'m':[0,3,7],'7':[0,4,7,10],'m7':[0,3,7,10],'maj7':[0,4,7,11]}[q]
    return root,iv
def bars_of(prog):  # "C | Am | Dm G" -> [[('C',whole)],...]
    return [b.split() for b in prog.split('|')]
def voicing(sym,low):
    root,iv=chord(sym); base=low+((root-low)%12)
    return [base+i for i in iv]
LEN={1:'1',2:'2',3:'2.',4:'4',6:'4.',8:'8',12:'8.',16:'16'}
def dur(sixteenths):
    return {16:'1',12:'2.',8:'2',6:'4.',4:'4',3:'8.',2:'8',1:'16'}[sixteenths]
def track_pad(bars,beats,low=55):
    out=[]
    for b in bars:
        n=len(b); each=beats*4//n
        for sym in b: out.append('+'.join(name(k) for k in voicing(sym,low))+':'+dur(each))
        out.append('|')
    return ' '.join(out)
def track_bass(bars,beats,pattern,low=36):
    # pattern: list of (interval index or 'o' octave, sixteenths) per chord slot of a whole bar
    out=[]
    for b in bars:
        n=len(b); each=beats*4//n
        for sym in b:
            root,iv=chord(sym); r=low+((root-low)%12)
            tones={'r':r,'5':r+7,'o':r+12,'3':r+iv[1],'5d':r-5}
            left=each
            for t,d in pattern:
                if left<=0: break
                d=min(d,left); out.append(f"{name(tones[t])}:{dur(d)}" if t!='-' else f"r:{dur(d)}"); left-=d
        out.append('|')
    return ' '.join(out)
def track_arp(bars,beats,steps,low=55,step=2):
    out=[]
    for b in bars:
        n=len(b); each=beats*4//n
        for sym in b:
            root,iv=chord(sym); r=low+((root-low)%12)
            tones=[r,r+iv[2]-12 if False else r+iv[2],r+12,r+12+iv[1],r+24 if len(steps)>6 else r+12]
            pool={'1':r,'5':r+iv[2],'8':r+12,'10':r+12+iv[1],'12':r+12+iv[2],'3':r+iv[1]}
            left=each;i=0
            while left>0:
                out.append(f"{name(pool[steps[i%len(steps)]])}:{dur(step)}"); left-=step;i+=1
        out.append('|')
    return ' '.join(out)
def write(path,header,tracks):
    with open(path,'w') as f:
        f.write(header)
        for t,body in tracks:
            f.write('\n'+t+'\n')
            words=body.split(); line=[];cnt=0
            for w in words:
                line.append(w)
                if w=='|':
                    cnt+=1
                    if cnt%4==0: f.write('  '+' '.join(line)+'\n'); line=[]
            if line: f.write('  '+' '.join(line)+'\n')

# ---------------- Morning: C major, 4/4, 104: A A' B A (32 bars, 74 s); ends on G to loop into C.
A="C | Am | F | G | C | Am | Dm | G"
A2="C | Am | F | G | C | Am | Dm G | C"
B="F | G | Em | Am | F | G | E7 | Am G"
prog=' | '.join([A,A2,B,A]); bars=bars_of(prog)
mA="E5:4 G5:8 E5 D5:4 C5 | A4:4 C5:8 E5 A5:2 | F5:4 E5:8 D5 C5:4 A4 | B4:4 D5:8 G5 G5:2 | E5:8 F5 G5 E5 C5:4 G4 | A4:8 B4 C5 E5 A5:4 G5 | F5:4 A5:8 F5 D5:4 F5 | E5:4 D5:8 C5 B4:4 G4 |"
mA2="E5:4 G5:8 E5 D5:4 C5 | A4:4 C5:8 E5 A5:2 | F5:4 E5:8 D5 C5:4 A4 | B4:4 D5:8 G5 G5:2 | G5:8 A5 G5 E5 C6:4 G5 | A5:8 G5 E5 C5 A4:4 C5 | F5:8 E5 D5 F5 E5:4 D5 | C5:2. r:4 |"
mB="A5:4. G5:8 F5:4 C5 | D5:4 G5:8 F5 E5:4 D5 | E5:4. D5:8 B4:4 G4 | A4:8 B4 C5 D5 E5:2 | F5:4 A5:8 G5 F5:4 C5 | D5:4 B5:8 A5 G5:4 F5 | E5:4 G#5:8 B5 D6:4 B5 | A5:4 E5 D5:4 B4 |"
mel=" ".join([mA,mA2,mB,mA])
drums=' '.join(["n36+n42:8 n42 n37+n42 n42 n36+n42 n36+n42 n37+n42 n42 |"]*24+["n36+n51:8 n51 n37+n51 n51 n36+n51 n36+n51 n37+n51 n51 |"]*8)
# B section uses the ride (bars 17-24): rebuild in order A A' B A
d1=["n36+n42:8 n42 n37+n42 n42 n36+n42 n36+n42 n37+n42 n42 |"]; d2=["n36+n51:8 n51 n37+n51 n51 n36+n51 n36+n51 n37+n51 n51 |"]
drums=' '.join(d1*16+d2*8+d1*7+["n36+n42:8 n42 n37+n42 n42 n36+n42 n38:16 n38 n38:8 n38 |"])
write('morning.score','''# Morning: a light tune in C, four phrases of eight bars (A A' B A), 74 s; the last bar's G
# leads back into the first bar's C, so the loop has no seam. The parts under the melody follow
# the chords bar by bar.
title Morning
tempo 104
time 4/4
''',[("track name=Flute program=74 channel=1 volume=96 velocity=88 pan=70",mel),
 ("track name=Guitar program=25 channel=2 volume=78 velocity=64 pan=44",track_arp(bars,4,['1','5','8','10','12','10','8','5'],48)),
 ("track name=Strings program=49 channel=3 volume=58 velocity=52 pan=84",track_pad(bars,4,55)),
 ("track name=Bass program=33 channel=4 volume=100 velocity=90",track_bass(bars,4,[('r',4),('5',4),('o',4),('5',4)],36)),
 ("track name=Drums channel=10 volume=70 velocity=64",drums)])

# ---------------- Evening: A minor waltz, 3/4, 84: A A' B A (32 bars, 69 s); ends on E7 into Am.
A="Am | Dm | G | C | F | Dm | E | E7"
A2="Am | Dm | G | C | F | Dm | E | Am"
B="F | G | C | Am | Dm | G | C | E7"
bars=bars_of(' | '.join([A,A2,B,A]))
mA="E5:4 A5 C6 | B5:4. A5:8 F5:4 | D5:4 G5 B5 | C6:2 G5:4 | A5:4 C6:8 A5 F5:4 | D5:4 F5 A5 | G#5:4 B5 E6 | D6:4 B5 G#5 |"
mA2="E5:4 A5 C6 | B5:4. A5:8 F5:4 | D5:4 G5 B5 | C6:2 G5:4 | A5:4 C6:8 A5 F5:4 | D5:4 F5 A5 | G#5:4 B5:8 A5 G#5:4 | A5:2 E5:4 |"
mB="C6:4. A5:8 F5:4 | B5:4. G5:8 D5:4 | E5:4 G5 C6 | A5:2 E5:4 | F5:4 A5 D6 | B5:4 D6:8 B5 G5:4 | C6:4 E6:8 C6 G5:4 | G#5:4 B5 D6 |"
write('evening.score','''# Evening: a slow waltz in A minor, four phrases of eight bars (A A' B A), 69 s; the last bar's
# E7 leads back into the first bar's A minor, so the loop has no seam.
title Evening
tempo 84
time 3/4
''',[("track name=Piano program=1 channel=1 volume=96 velocity=80 pan=60"," ".join([mA,mA2,mB,mA])),
 ("track name=Harp program=47 channel=2 volume=74 velocity=60 pan=40",track_arp(bars,3,['1','5','8','10','8','5'],45)),
 ("track name=Strings program=49 channel=3 volume=56 velocity=50 pan=88",track_pad(bars,3,57)),
 ("track name=Cello program=43 channel=4 volume=90 velocity=76 pan=70",track_bass(bars,3,[('r',12)],36))])

# ---------------- Market: D, 4/4, 128: vamp (4) A A' B C (36 bars, 68 s); ends on A7 into D.
V="D | D | C | A7"
A="D | D | C | G | D | D | C | A7"
A2="D | D | C | G | D | D | C | D"
B="G | G | D | D | Em | A | D | A7"
C="Bm | G | D | A | Bm | G | D | Em A7"
bars=bars_of(' | '.join([V,A,A2,B,C]))
mV="r:1 | r:1 | r:2 r:4 r:8 A4:8 | C#5:8 E5 G5 E5 C#5:4 A4 |"
mA="D5:8 F#5 A5 F#5 D5:8 E5 F#5:4 | A5:8 B5 A5 F#5 E5:4 D5 | E5:8 G5 C6 G5 E5:8 D5 C5:4 | B4:8 D5 G5 D5 B4:4 G4 | D5:8 F#5 A5 D6 C6:8 A5 F#5:4 | A5:8 G5 F#5 E5 D5:4 A4 | C5:8 E5 G5 C6 B5:8 G5 E5:4 | C#5:8 E5 G5 A5 C#6:4 A5 |"
mA2=mA.rsplit('|',2)[0]+"| D6:4 A5 F#5 D5 |"
mB="B5:4. A5:8 G5:4 D5 | E5:8 F#5 G5 A5 B5:2 | A5:4. F#5:8 D5:4 A4 | F#5:8 E5 D5 E5 F#5:2 | G5:4 B5 E6:4 B5 | C#6:4 A5:8 G5 E5:4 C#5 | D5:8 F#5 A5 D6 F#5:4 A5 | G5:8 F#5 E5 D5 C#5:2 |"
mC="F#5:4 B5:8 A5 F#5:4 D5 | G5:4 B5:8 A5 G5:4 D5 | A5:4 F#5:8 E5 D5:4 F#5 | E5:2 C#5:2 | D6:4 C#6:8 B5 A5:4 F#5 | G5:8 A5 B5 D6 B5:4 G5 | F#5:8 A5 D6 A5 F#5:4 D5 | E5:4 G5 A5:4 C#6 |"
perc=' '.join(["n36:8 n54 n63 n54 n36 n54 n64 n54 |"]*4+["n36:8 n54 n63+n39 n54 n36 n54 n64+n39 n54 |"]*32)
def offbeat(bars,low=55):
    out=[]
    for b in bars:
        n=len(b); each=16//n
        for sym in b:
            v='+'.join(name(k) for k in voicing(sym,low)[:3])
            for _ in range(each//4): out.append(f"r:8 {v}:8")
        out.append('|')
    return ' '.join(out)
write('market.score','''# Market: a busy tune in D, a four-bar vamp and four phrases of eight bars (A A' B C), 68 s;
# the last bar's A7 leads back into the vamp's D, so the loop has no seam.
title Market
tempo 128
time 4/4
''',[("track name=Marimba program=13 channel=1 volume=100 velocity=92 pan=58"," ".join([mV,mA,mA2,mB,mC])),
 ("track name=Accordion program=22 channel=2 volume=64 velocity=62 pan=84",offbeat(bars)),
 ("track name=Pizzicato program=46 channel=3 volume=70 velocity=70 pan=40",track_arp(bars,4,['1','5','8','5'],50,4)),
 ("track name=Bass program=34 channel=4 volume=100 velocity=94",track_bass(bars,4,[('r',6),('r',2),('5',4),('o',2),('5',2)],38)),
 ("track name=Percussion channel=10 volume=72 velocity=70",perc)])
